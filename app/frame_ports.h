#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "divedata/file_messages.h"

namespace ravo {

// The main window's three one-shot timers.
enum FrameTimer : int { TIMER_JOB_POLL = 0, TIMER_ONLINE = 1, TIMER_LINK_IDLE = 2 };

// The right-hand views in the order the window creates them.
enum FrameView : int { VIEW_DIVE = 0, VIEW_UNIT = 1, VIEW_UNIT_DIVE = 2, VIEW_UNIT_REDBOX = 3 };

// The timers' periods; tests shorten them instead of waiting a minute.
struct FramePeriods {
    uint32_t jobPollMs = 200;
    uint32_t onlineMs = 1000;
    uint32_t linkIdleMs = 60000;
};

// One-shot timers; starting a running timer starts it again with its full period.
class FrameTimers {
public:
    virtual ~FrameTimers() = default;
    virtual void startFrameTimer(FrameTimer id, uint32_t ms) = 0;
    virtual void stopFrameTimer(FrameTimer id) = 0;
};

// What the dispatcher asks of the window that shows it: the toolkit's side of
// the main window, which only draws and forwards.
class FrameWindow {
public:
    virtual ~FrameWindow() = default;
    virtual void showView(FrameView view) = 0;
    virtual FrameView viewShowing() const = 0;
    virtual void showStatusText(const std::string& text) = 0;
    virtual void showOnline(bool online) = 0;
    // Sends the message to the view showing; its answer.
    virtual intptr_t forwardToView(unsigned message, uintptr_t wParam, intptr_t lParam) = 0;
    // The tree: a unit's two log nodes, and the saved-log branch from the app's list.
    virtual void addUnitToTree(const std::string& unitText) = 0;
    virtual void rebuildSavedLogs() = 0;
    // The redbox Save dialog: false when cancelled, else the chosen path.
    virtual bool chooseRedboxPath(const std::string& proposed, std::string& chosen) = 0;
    virtual void showFileErrors(const FileMessages& messages) = 0;
    // Runs a wait on the unit link without freezing the window; false (and
    // nothing run) while another such wait is going on.
    virtual bool waitOnLink(const std::function<void()>& work) = 0;
    virtual bool linkWaitRunning() const = 0;
    // Closes the window for good (after a close that had to wait for a job).
    virtual void closeWindow() = 0;
};

}  // namespace ravo
