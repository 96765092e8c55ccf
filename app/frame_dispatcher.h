#pragma once
#include <cstdint>
#include <string>

#include "app/frame_ports.h"
#include "app/ravo_config_app.h"
#include "app/tree_labels.h"
#include "link/messages.h"

namespace ravo {

// The status text of a request refused because a job (or a wait on the link)
// is running: nothing of the request is written anywhere.
inline constexpr char kUnitBusyText[] = "Please wait, the unit is busy";
inline constexpr char kClosingText[] = "Stopping the unit job before closing...";

// The main window's decisions, without a toolkit: which job a request starts
// and with which worker fields, the status and log lines, link preparation,
// the two directory flags, the three timers, the saving of downloaded logs
// and what goes to the view showing. The window forwards every message and
// timer here; the worker's messages arrive on the UI thread (the window's
// bridge sees to that).
class FrameDispatcher : public MessageReceiver {
public:
    FrameDispatcher(CRavo_ConfigApp& app, FrameWindow& window, FrameTimers& timers, FramePeriods periods = {});

    // The receiver the worker reports to (the window's bridge); `this` when unset.
    void setWorkerReceiver(MessageReceiver* receiver) { workerReceiver_ = receiver; }

    // Window creation step 3: the "ONLINE" pane empty, TIMER_ONLINE running.
    void begin();

    intptr_t sendMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;
    void onTimer(FrameTimer id);

    // printf rules, C locale, 256-byte buffer; kept as the current status text.
    void setStatus(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    const std::string& statusText() const { return status_; }

    // True while a job thread runs or the UI thread waits on the link: then
    // no worker field may be read or written and the link is not touched.
    bool unitBusy() const;

    // A close of the window: true when it may close now. During a job the
    // job is asked to stop and the window closes when the worker has ended
    // (its messages keep being handled meanwhile, so a finished download is
    // still saved).
    bool requestClose();
    bool closePending() const { return closePending_; }

    bool diveDirectoryRead() const { return diveDirectoryRead_; }
    bool redboxDirectoryRead() const { return redboxDirectoryRead_; }
    bool online() const { return online_; }

private:
    WorkTask& worker() { return *app_.worker; }
    bool refuseWhileBusy();
    void startJob(int jobCode, bool prepareLink);
    void restartLinkIdle();
    void refreshView();
    void unitSelected(const TreeLabels& labels, unsigned message, uintptr_t wParam, intptr_t lParam);
    void directorySelected(bool dive, unsigned message, uintptr_t wParam, intptr_t lParam);
    void savedLogSelected(const TreeLabels& labels, unsigned message, uintptr_t wParam, intptr_t lParam);
    void relistSavedLogs();
    void readInfo(int jobCode);
    void requestFirmware(const std::string* path);
    void requestLog(const void* entry, bool dive);
    // Several dives in one job (JOB_DIVE_LOGS), in the order given.
    void requestDives(const std::vector<CDiveInfo>* entries);
    void logDownloaded(unsigned message, intptr_t lParam);
    void fixSerial();
    void pollJob();
    void testOnline();
    void linkIdle();

    CRavo_ConfigApp& app_;
    FrameWindow& window_;
    FrameTimers& timers_;
    FramePeriods periods_;
    MessageReceiver* workerReceiver_ = nullptr;
    std::string status_;
    bool diveDirectoryRead_ = false;
    bool redboxDirectoryRead_ = false;
    bool online_ = false;
    bool closePending_ = false;
    // Valid replies the link reported since the last online test: during a
    // job the "ONLINE" pane is taken from them, not from the link itself.
    int repliesSinceTest_ = 0;
    int quietTests_ = 0;
};

}  // namespace ravo
