#include "jobs/work_task.h"

#include <cstdarg>

#include "jobs/job_bodies.h"
#include "link/c_format.h"

namespace ravo {

WorkTask::WorkTask() = default;

WorkTask::~WorkTask()
{
    // The thread uses the link and the records: it must end before they go.
    waitForThread();
}

void WorkTask::start(int code, MessageReceiver* window)
{
    if (threadRunning())
        return;
    jobCode = code;
    notifyWindow = window;
    startThread();
}

intptr_t WorkTask::send(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    return notifyWindow ? notifyWindow->sendMessage(message, wParam, lParam) : 0;
}

void WorkTask::line(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    vformatC(statusLine, kLineMax + 1, format, args);
    va_end(args);
    send(UM_STATUS_TEXT, 0, reinterpret_cast<intptr_t>(statusLine));
}

void WorkTask::firmwareLine(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    vformatC(firmwareText, kLineMax + 1, format, args);
    va_end(args);
    send(UM_FIRMWARE_TEXT, 0, reinterpret_cast<intptr_t>(firmwareText));
}

bool WorkTask::stopCheck()
{
    if (!stopRequested)
        return false;
    line("User stopped....");
    return true;
}

void WorkTask::resetUnitInformation()
{
    voltage = 0;
    stopRequested = false;
    forcedBootloader = false;
    progressPercent = 0;
    progressRecords = 0;
    progressTotal = 0;
    batchRecordsBefore = 0;
    batchRecordsTotal = 0;
    firmwareText[0] = '\0';
    statusLine[0] = '\0';
    versions.clear();
    settings.reset();
    linkText.clear();
}

int32_t WorkTask::Run()
{
    busy = true;
    int32_t result = connectAndRun();
    busy = false;
    stopRequested = false;
    return result;
}

int32_t WorkTask::connectAndRun()
{
    jobResult = 0;  // a body that does not run leaves 0; Run's result says whether it ran
    if (link.unitNumber != uint16_t(unitNumber)) {
        link.unitNumber = uint16_t(unitNumber);
        link.Close();
        resetUnitInformation();
    }
    if (!link.IsConnected())
        resetUnitInformation();
    link.notifyWindow = notifyWindow;

    if (link.Open() != 0) {
        failConnect("Can not open IrDA socket. Please check if IrDA unit is connected.");
        return -1;
    }
    if (link.Connect() != 0) {
        failConnect("Can not find any IrDA unit. Please check that unit is on.");
        return -2;
    }
    linkText = link.PeerDescription();
    firmwareLine("%s", "");
    line("Connect to unit %04X [%s]", unsigned(unitNumber), linkText.c_str());
    if (!link.IsConnected()) {
        linkText = link.lastError;
        line("No connection with unit. Verify the unit is %04X", unsigned(unitNumber));
        link.Close();
        return -3;
    }
    jobResult = runJobBody();
    if (!keepLinkOpen)
        link.Close();
    return 0;
}

void WorkTask::failConnect(const char* text)
{
    // The link's reason is kept past the close and the reset, which would
    // otherwise leave the user no hint of what failed.
    std::string reason = link.lastError;
    line("%s", text);
    link.Close();
    resetUnitInformation();
    linkText = reason;
}

int WorkTask::runJobBody()
{
    switch (jobCode) {
    case JOB_READ_INFO: return jobReadInfo(*this);
    case JOB_FIRMWARE:
    case JOB_FIRMWARE_BL:
    case JOB_FIRMWARE_FORCE: return jobFirmware(*this, jobCode);
    case JOB_READ_SETTINGS: return jobReadSettings(*this);
    case JOB_DIVE_DIRECTORY: return jobDiveDirectory(*this);
    case JOB_DIVE_LOG: return jobDiveLog(*this);
    case JOB_DIVE_LOGS: return jobDiveLogs(*this);
    case JOB_REDBOX_DIRECTORY: return jobRedboxDirectory(*this);
    case JOB_REDBOX_LOG: return jobRedboxLog(*this);
    case JOB_FIX_LOST_SR: return jobFixLostSerial(*this);
    default: return 0;
    }
}

}  // namespace ravo
