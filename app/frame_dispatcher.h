#pragma once
#include <cstdint>
#include <string>

#include "app/bootloader_units.h"
#include "app/frame_ports.h"
#include "app/frame_state.h"
#include "app/ravo_config_app.h"
#include "app/tree_labels.h"
#include "jobs/job_events.h"
#include "link/clock.h"

namespace ravo {

// The status text of a request refused because a job is running: nothing of
// the request is written anywhere.
inline constexpr char kUnitBusyText[] = "Please wait, the unit is busy";
inline constexpr char kClosingText[] = "Stopping the unit job before closing...";

// The main window's decisions, without a toolkit: which job a request
// starts, the status and log lines, the two directory flags, the timers, the
// saving of downloaded logs, and the frame's state that every view follows
// (whether a job runs, its kind and progress, the unit's values, the
// directories). The window hands it the requests of its views and tree, its
// timers, and the worker's events (on the UI thread: the window's bridge
// sees to that).
class FrameDispatcher : public JobEvents, public FrameRequests {
public:
    FrameDispatcher(CRavo_ConfigApp& app, FrameWindow& window, FrameTimers& timers, FramePeriods periods = {},
                    Clock& clock = systemClock());

    // Where the worker's events go (the window's bridge to this object);
    // `this` when unset.
    void setWorkerEvents(JobEvents* events) { workerEvents_ = events; }

    // Window creation: the "ONLINE" pane empty, its timer running.
    void begin();
    void onTimer(FrameTimer id);

    const FrameState& state() const { return state_; }
    // True while a job runs: then no request starts another.
    bool busy() const { return state_.job.running; }

    // printf rules, C locale, 256-byte buffer; kept as the current status text.
    void setStatus(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    const std::string& statusText() const { return status_; }

    // FrameRequests
    void treeSelected(const TreeLabels& labels) override;
    void requestReadInfo() override;
    void requestFirmware(const std::string& path) override;
    void requestLogs(LogKind kind, const std::vector<CDiveInfo>& entries) override;
    void requestFixSerial() override;
    void requestEditRow(const EditRowRequest& request) override;
    void requestRestore(const RestoreRequest& request) override;
    void requestPowerDown() override;
    void requestTestLink(const std::string& address) override;
    void requestStop() override;
    void showStatus(const std::string& text) override;
    // The settings read again (after an edit).
    void requestRereadSettings();

    // JobEvents, on the UI thread.
    void statusLine(const std::string& text) override;
    void firmwareText(const std::string& text) override;
    void progress(const JobProgress& progress) override;
    void unitFound(uint16_t unit) override;
    void logDownloaded(const CDiveLog& log) override;
    void directoryRead(const LogDirectory& directory) override;
    void linkState(const LinkEvent& event) override;
    void jobFinished(const JobOutcome& outcome) override;

    // The user closes the window: true when it may close now. During a job
    // the job is asked to stop (a firmware update only after the user said
    // yes) and the window closes when the job has ended, what arrived saved.
    bool requestClose();
    // The system asks the program to end (log-out, shutdown, a signal): as a
    // close, without a question.
    bool requestQuit();
    bool closePending() const { return closePending_; }

    bool diveDirectoryRead() const { return diveDirectoryRead_; }
    bool redboxDirectoryRead() const { return redboxDirectoryRead_; }
    bool online() const { return state_.online; }
    // The unit is known to wait in its bootloader.
    bool unitWaitsInBootloader(uint16_t unit) const { return bootloaderUnits_.waiting(unit); }

private:
    WorkTask& worker() { return *app_.worker; }
    bool refuseWhileBusy();
    bool startJob(JobRequest request);
    void changed(FrameChange change);
    void restartLinkIdle();
    void unitSelected(const TreeLabels& labels);
    void directorySelected(const TreeLabels& labels, bool dive);
    void savedLogSelected(const TreeLabels& labels);
    void relistSavedLogs();
    void readInfo(bool settingsOnly);
    void testOnline();
    void linkIdle();
    bool stopForClose(bool ask);
    void heardUnit(bool answered);
    // After each kind of job.
    void readInfoEnded(const JobOutcome& outcome, const ReadInfoResult& result);
    void firmwareEnded(const JobOutcome& outcome, const FirmwareResult& result);
    void logsEnded(const JobOutcome& outcome, const LogsResult& result);
    void editEnded(const EditRowResult& result);
    void restoreEnded(const RestoreSettingsResult& result);
    std::string resultTextFor(const JobOutcome& outcome, const std::string& hint) const;

    CRavo_ConfigApp& app_;
    FrameWindow& window_;
    FrameTimers& timers_;
    FramePeriods periods_;
    Clock& clock_;
    JobEvents* workerEvents_ = nullptr;
    BootloaderUnits bootloaderUnits_;
    FrameState state_;
    std::string status_;
    bool diveDirectoryRead_ = false;
    bool redboxDirectoryRead_ = false;
    bool closePending_ = false;
    bool closeQuietly_ = false;  // the system ends the program: no notices
    // Reads left after an update for a unit that takes its time to restart.
    int rereadTries_ = 0;
    // The unit the running job addresses, and what its request needs after it.
    uint16_t jobUnit_ = 0xFFFF;
    std::string firmwareFileName_;
    std::string linkLostReason_;  // during the running job
    bool answeredEver_ = false;
    uint64_t lastAnswerMs_ = 0;
};

}  // namespace ravo
