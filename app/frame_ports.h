#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "app/frame_state.h"
#include "app/tree_labels.h"
#include "divedata/dive_info.h"
#include "divedata/file_messages.h"
#include "jobs/job_requests.h"

namespace ravo {

struct JobOutcome;

// The main window's one-shot timers.
enum FrameTimer : int { TIMER_ONLINE = 0, TIMER_LINK_IDLE = 1, TIMER_REREAD = 2 };
inline constexpr int kFrameTimerCount = 3;

// The right-hand views in the order the window creates them.
enum FrameView : int {
    VIEW_DIVE = 0,
    VIEW_UNIT = 1,
    VIEW_UNIT_DIVE = 2,
    VIEW_UNIT_REDBOX = 3,
    VIEW_HEALTH = 4,
    VIEW_LOGBOOK = 5
};
inline constexpr int kFrameViewCount = 6;

// The timers' periods; tests shorten them instead of waiting a minute.
struct FramePeriods {
    uint32_t onlineMs = 1000;         // the "ONLINE" pane is brought up to date this often
    uint32_t linkIdleMs = 60000;      // the link is closed this long after the last job event
    uint32_t onlinePeriodMs = 10000;  // "ONLINE": the unit answered within this time
    uint32_t rereadMs = 3000;         // after an update, the next try to read a unit not back yet
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
    // The tree's selection, to the view showing (it takes the labels it needs).
    virtual void selectionToView(const TreeLabels& labels) = 0;
    // Something of the frame's state changed: every view follows at once,
    // shown or not.
    virtual void stateChanged(FrameChange change) = 0;
    // A job ended: the views that started it act on its result.
    virtual void jobEnded(const JobOutcome& outcome) = 0;
    // The tree: a unit's two log nodes, and the saved-log branch from the app's list.
    virtual void addUnitToTree(const std::string& unitText) = 0;
    virtual void rebuildSavedLogs() = 0;
    // The redbox Save dialog: false when cancelled, else the chosen path.
    virtual bool chooseRedboxPath(const std::string& proposed, std::string& chosen) = 0;
    virtual void showFileErrors(const FileMessages& messages) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool confirm(const std::string& title, const std::string& text) = 0;
    // A notice the user must read (a message box).
    virtual void notice(const std::string& title, const std::string& text) = 0;
    // Closes the window for good (after a close that had to wait for a job).
    virtual void closeWindow() = 0;
};

// The requests the views and the tree make of the main window, typed.
class FrameRequests {
public:
    virtual ~FrameRequests() = default;
    virtual void treeSelected(const TreeLabels& labels) = 0;
    virtual void requestReadInfo() = 0;
    virtual void requestFirmware(const std::string& path) = 0;
    virtual void requestLogs(LogKind kind, const std::vector<CDiveInfo>& entries) = 0;
    virtual void requestFixSerial() = 0;
    virtual void requestEditRow(const EditRowRequest& request) = 0;
    virtual void requestRestore(const RestoreRequest& request) = 0;
    virtual void requestPowerDown() = 0;
    // "Test link" of the Preferences: the link is closed, and connected again
    // at `address` to read the unit's versions.
    virtual void requestTestLink(const std::string& address) = 0;
    // "Cancel": the running job is asked to stop.
    virtual void requestStop() = 0;
    // A status line of a view's own ("File [%s] not found").
    virtual void showStatus(const std::string& text) = 0;
};

}  // namespace ravo
