#include "app/frame_dispatcher.h"

#include <cstdarg>

#include "app/tree_rules.h"
#include "app/unit_log_view_state.h"
#include "divedata/log_handover.h"
#include "jobs/request_lines.h"
#include "link/c_format.h"

namespace ravo {

FrameDispatcher::FrameDispatcher(CRavo_ConfigApp& app, FrameWindow& window, FrameTimers& timers,
                                 FramePeriods periods)
    : app_(app), window_(window), timers_(timers), periods_(periods)
{
}

void FrameDispatcher::begin()
{
    online_ = false;
    window_.showOnline(false);
    timers_.startFrameTimer(TIMER_ONLINE, periods_.onlineMs);
}

void FrameDispatcher::setStatus(const char* format, ...)
{
    char buffer[256];
    va_list args;
    va_start(args, format);
    vformatC(buffer, sizeof buffer, format, args);
    va_end(args);
    status_ = buffer;
    window_.showStatusText(status_);
}

bool FrameDispatcher::unitBusy() const
{
    return app_.worker->threadRunning() || window_.linkWaitRunning();
}

bool FrameDispatcher::refuseWhileBusy()
{
    if (!unitBusy())
        return false;
    setStatus("%s", kUnitBusyText);
    return true;
}

void FrameDispatcher::startJob(int jobCode, bool prepareLink)
{
    if (prepareLink) {
        WorkTask& w = worker();
        w.keepLinkOpen = true;
        // Results not looked at: a failure shows up in the job's own report.
        window_.waitOnLink([&w] {
            w.link.Open();
            w.link.Connect();
        });
    }
    worker().start(jobCode, workerReceiver_ ? workerReceiver_ : this);
    window_.forwardToView(UM_REFRESH_VIEW, 0, 0);
    timers_.startFrameTimer(TIMER_JOB_POLL, periods_.jobPollMs);
}

void FrameDispatcher::restartLinkIdle()
{
    timers_.stopFrameTimer(TIMER_LINK_IDLE);
    timers_.startFrameTimer(TIMER_LINK_IDLE, periods_.linkIdleMs);
}

void FrameDispatcher::refreshView()
{
    window_.forwardToView(UM_REFRESH_VIEW, 0, 0);
}

intptr_t FrameDispatcher::sendMessage(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case UM_STATUS_TEXT:
        restartLinkIdle();
        setStatus("%s", lParam ? reinterpret_cast<const char*>(lParam) : "");
        return 1;
    case UM_PROGRESS:
    case UM_FIRMWARE_TEXT:
    case UM_KEEP_ALIVE:
        restartLinkIdle();
        return window_.forwardToView(message, wParam, lParam);
    case UM_LINK_RECEIVE:
        ++repliesSinceTest_;
        return 0;
    case UM_TREE_UNIT:
        if (lParam)
            unitSelected(*reinterpret_cast<const TreeLabels*>(lParam), message, wParam, lParam);
        return 1;
    case UM_TREE_SAVED_DIVE:
        if (lParam)
            savedLogSelected(*reinterpret_cast<const TreeLabels*>(lParam), message, wParam, lParam);
        return 1;
    case UM_UNIT_FOUND:
        if (lParam)
            window_.addUnitToTree(*reinterpret_cast<const std::string*>(lParam));
        return 1;
    case UM_REQ_READ_INFO: readInfo(JOB_READ_INFO); return 1;
    case UM_REQ_REREAD_INFO: readInfo(JOB_READ_SETTINGS); return 1;
    case UM_REQ_FIRMWARE: requestFirmware(reinterpret_cast<const std::string*>(lParam)); return 1;
    case UM_REQ_READ_DIVE: requestLog(reinterpret_cast<const void*>(lParam), true); return 1;
    case UM_REQ_READ_REDBOX: requestLog(reinterpret_cast<const void*>(lParam), false); return 1;
    case UM_REQ_READ_DIVES: requestDives(reinterpret_cast<const std::vector<CDiveInfo>*>(lParam)); return 1;
    case UM_DIVE_DOWNLOADED:
    case UM_REDBOX_DOWNLOADED: logDownloaded(message, lParam); return 1;
    case UM_REQ_FIX_SERIAL: fixSerial(); return 1;
    default: return 0;
    }
}

void FrameDispatcher::unitSelected(const TreeLabels& labels, unsigned message, uintptr_t wParam, intptr_t lParam)
{
    if (!labels.unitLabel.empty())
        app_.config.setUnitNumberText(labels.unitLabel);
    if (labels.nodeLabel == kDiveLogNode || labels.nodeLabel == kRedboxLogNode) {
        directorySelected(labels.nodeLabel == kDiveLogNode, message, wParam, lParam);
        return;
    }
    window_.showView(VIEW_UNIT);
    if (refuseWhileBusy())
        return;
    setStatus("Select a unit");
    refreshView();
    window_.forwardToView(message, wParam, lParam);
}

void FrameDispatcher::directorySelected(bool dive, unsigned message, uintptr_t wParam, intptr_t lParam)
{
    window_.showView(dive ? VIEW_UNIT_DIVE : VIEW_UNIT_REDBOX);
    // The directory the worker holds belongs to the running job until it ends.
    if (refuseWhileBusy())
        return;
    setStatus(dive ? "Double-click to get dive data from unit" : "Double-click to get unitlog data from unit");
    bool& read = dive ? diveDirectoryRead_ : redboxDirectoryRead_;
    if (!read) {
        read = true;
        (dive ? worker().diveDirectory : worker().redboxDirectory).clear();
        worker().unitNumber = app_.config.currentUnitNumber();
        startJob(dive ? JOB_DIVE_DIRECTORY : JOB_REDBOX_DIRECTORY, true);
        return;
    }
    refreshView();
    window_.forwardToView(message, wParam, lParam);
}

void FrameDispatcher::savedLogSelected(const TreeLabels& labels, unsigned message, uintptr_t wParam,
                                       intptr_t lParam)
{
    if (labels.unitLabel.empty())
        relistSavedLogs();
    setStatus("Select a dive log");
    window_.showView(VIEW_DIVE);
    window_.forwardToView(message, wParam, lParam);
}

void FrameDispatcher::relistSavedLogs()
{
    app_.listSavedDives();
    window_.rebuildSavedLogs();
}

void FrameDispatcher::readInfo(int jobCode)
{
    if (refuseWhileBusy())
        return;
    diveDirectoryRead_ = false;
    redboxDirectoryRead_ = false;
    worker().unitNumber = app_.config.currentUnitNumber();
    setStatus("Read info from unit %04X", unsigned(worker().unitNumber));
    startJob(jobCode, true);
}

void FrameDispatcher::requestFirmware(const std::string* path)
{
    if (refuseWhileBusy())
        return;
    const std::string file = path ? *path : std::string();
    const uint16_t unit = app_.config.currentUnitNumber();
    worker().unitNumber = unit;
    worker().firmwarePath = file;
    RequestLines lines = firmwareRequestLines(app_.config.downloadMode, unit, file);
    setStatus("%s", lines.status.c_str());
    app_.log.write(lines.log);
    startJob(app_.config.downloadMode, false);
}

void FrameDispatcher::requestLog(const void* entryPointer, bool dive)
{
    if (!entryPointer || refuseWhileBusy())
        return;
    const CDiveInfo& entry = *static_cast<const CDiveInfo*>(entryPointer);
    worker().unitNumber = entry.unitNumber;
    worker().logIndex = entry.index;
    setStatus(dive ? "Read divedata from unit %04X index %d" : "Read redbox log from unit %04X index %d",
              unsigned(worker().unitNumber), int(worker().logIndex));
    startJob(dive ? JOB_DIVE_LOG : JOB_REDBOX_LOG, false);
}

void FrameDispatcher::requestDives(const std::vector<CDiveInfo>* entries)
{
    if (!entries || entries->empty() || refuseWhileBusy())
        return;
    std::string status;
    prepareDiveBatch(worker(), *entries, status);
    setStatus("%s", status.c_str());
    startJob(JOB_DIVE_LOGS, false);
}

void FrameDispatcher::logDownloaded(unsigned message, intptr_t lParam)
{
    if (!lParam)
        return;
    CDiveLog& log = *reinterpret_cast<CDiveLog*>(lParam);
    // The unit did not know the entry: there is no log, only an empty one that
    // would be saved under unit time 0.
    if (!log.info.valid)
        return;
    LogHandover handover;
    handover.diveFolder = app_.config.diveFolder;
    handover.redboxFolder = &app_.config.redboxFolder;
    handover.savedDiveNames = &app_.savedDiveNames;
    handover.chooseRedboxPath = [this](const std::string& proposed, std::string& chosen) {
        return window_.chooseRedboxPath(proposed, chosen);
    };
    FileMessages messages;
    HandleLogDownloaded(message, log, handover, &messages);
    if (!messages.empty())
        window_.showFileErrors(messages);
    window_.rebuildSavedLogs();
}

void FrameDispatcher::fixSerial()
{
    if (refuseWhileBusy())
        return;
    const uint16_t unit = app_.config.currentUnitNumber();
    worker().unitNumber = unit;
    FixSerialRequest request = fixSerialRequest(unit);
    setStatus("%s", request.lines.status.c_str());
    app_.log.write(request.lines.log);
    if (request.start)
        startJob(JOB_FIX_LOST_SR, false);
}

bool FrameDispatcher::requestClose()
{
    if (!unitBusy())
        return true;
    closePending_ = true;
    if (app_.worker->threadRunning())
        worker().stopRequested = true;
    setStatus("%s", kClosingText);
    timers_.startFrameTimer(TIMER_JOB_POLL, periods_.jobPollMs);
    return false;
}

void FrameDispatcher::onTimer(FrameTimer id)
{
    timers_.stopFrameTimer(id);
    switch (id) {
    case TIMER_JOB_POLL: pollJob(); break;
    case TIMER_ONLINE: testOnline(); break;
    case TIMER_LINK_IDLE: linkIdle(); break;
    }
}

void FrameDispatcher::pollJob()
{
    // The thread, not `busy`: the thread runs from start() on, while `busy`
    // is raised by the thread itself a moment later.
    if (unitBusy()) {
        // A job clears a stop request while it connects: keep asking.
        if (closePending_ && app_.worker->threadRunning())
            worker().stopRequested = true;
        timers_.startFrameTimer(TIMER_JOB_POLL, periods_.jobPollMs);
        return;
    }
    refreshView();
    if (closePending_)
        window_.closeWindow();
}

void FrameDispatcher::testOnline()
{
    if (unitBusy()) {
        // The link belongs to the job: its replies say whether the unit answers.
        quietTests_ = repliesSinceTest_ > 0 ? 0 : quietTests_ + 1;
        if (repliesSinceTest_ > 0)
            online_ = true;
        else if (quietTests_ >= 3)
            online_ = false;
    } else {
        online_ = worker().link.IsConnected();
    }
    repliesSinceTest_ = 0;
    window_.showOnline(online_);
    timers_.startFrameTimer(TIMER_ONLINE, periods_.onlineMs);
}

void FrameDispatcher::linkIdle()
{
    // Never under a running job or an open setting editor: try again later.
    if (unitBusy() || app_.settingEditorsOpen > 0) {
        timers_.startFrameTimer(TIMER_LINK_IDLE, periods_.linkIdleMs);
        return;
    }
    worker().keepLinkOpen = false;
    worker().link.Close();
    diveDirectoryRead_ = false;
    redboxDirectoryRead_ = false;
}

}  // namespace ravo
