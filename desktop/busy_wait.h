#pragma once
#include <functional>

class QWidget;

namespace ravo::desktop {

// Runs `work` (which waits on the unit link) on a helper thread while the UI
// thread keeps painting in a local event loop, with a busy cursor and the
// window's input blocked, so the user cannot start a second request meanwhile.
// Returns when `work` has finished. A call while another one waits runs
// nothing and returns false.
bool runWhileRepainting(QWidget* window, const std::function<void()>& work);

// True while runWhileRepainting waits.
bool busyWaiting();

}  // namespace ravo::desktop
