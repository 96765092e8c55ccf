#pragma once
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "divedata/dive_info.h"
#include "divedata/dive_log.h"
#include "jobs/ag_thread.h"
#include "jobs/job_codes.h"
#include "jobs/unit_versions.h"
#include "link/ir_comm.h"
#include "link/messages.h"
#include "settings/unit_settings.h"

namespace ravo {

// The one worker: runs one job against the unit at a time on its own thread,
// reports lines and results to `notifyWindow`, and leaves what it read in its
// fields for the views. The requester fills the request fields, then calls
// start(); while `busy` the fields belong to the worker.
class WorkTask : public CAG_Thread {
public:
    static constexpr int kLineMax = 254;

    WorkTask();
    ~WorkTask() override;

    // Starts `jobCode` unless the previous job is still running; never blocks.
    void start(int jobCode, MessageReceiver* notifyWindow);

    int32_t Run() override;

    // --- what jobs use ---
    // A line: printf-formatted (C locale) into statusLine and sent with UM_STATUS_TEXT.
    void line(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    // The firmware text, formatted likewise and sent with UM_FIRMWARE_TEXT.
    void firmwareLine(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    // Sends a message to notifyWindow, if there is one.
    intptr_t send(unsigned message, uintptr_t wParam = 0, intptr_t lParam = 0);
    // True, after the line "User stopped....", when a stop was requested.
    bool stopCheck();
    void resetUnitInformation();

    // --- results and request fields ---
    int progressPercent = 0;
    // Records of the log being downloaded: read so far and in all. Written by
    // the worker before each UM_PROGRESS of a log download; safe to read at any
    // time for a rate or a bar.
    std::atomic<uint32_t> progressRecords{0};
    std::atomic<uint32_t> progressTotal{0};
    // During JOB_DIVE_LOGS: the records of the dives before the one being
    // read, and of all of them; the progress then counts the whole batch.
    std::atomic<uint32_t> batchRecordsBefore{0};
    std::atomic<uint32_t> batchRecordsTotal{0};
    char firmwareText[256] = {};
    char statusLine[256] = {};
    std::string linkText;
    uint32_t unitNumber = 0xFFFF;
    std::string firmwarePath;
    uint16_t logIndex = 0;
    // The dives JOB_DIVE_LOGS downloads, in order (each entry's index).
    std::vector<CDiveInfo> logBatch;
    double voltage = 0;
    UnitVersions versions;
    UnitSettings settings;
    std::vector<CDiveInfo> diveDirectory;
    std::vector<CDiveInfo> redboxDirectory;
    CDiveLog logData;
    CIrComm link;
    int jobCode = 0;
    // The last job body's own result (the connect steps' result is Run's,
    // the thread's exit code).
    int jobResult = 0;
    MessageReceiver* notifyWindow = nullptr;
    std::atomic<bool> busy{false};
    std::atomic<bool> stopRequested{false};
    bool forcedBootloader = false;
    std::atomic<bool> keepLinkOpen{false};

private:
    int32_t connectAndRun();
    // A failed open or connect: the line, the link closed, the unit
    // information reset, and linkText holding the link's reason.
    void failConnect(const char* text);
    int runJobBody();
};

}  // namespace ravo
