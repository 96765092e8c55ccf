#pragma once
#include <cstdint>

namespace ravo {
class CRavo_ConfigApp;
class MessageReceiver;
}

namespace ravo::desktop {

// What a right-hand view works with: the application object (configuration,
// worker results, saved logs) and the main window, to which it sends its
// requests (UM_REQ_READ_INFO, UM_REQ_FIRMWARE, ...) as synchronous messages.
struct ViewContext {
    CRavo_ConfigApp& app;
    MessageReceiver& frame;
};

// A right-hand view of the main window. The window forwards to the view
// showing: UM_PROGRESS, UM_TREE_UNIT, UM_TREE_SAVED_DIVE, UM_REFRESH_VIEW,
// UM_FIRMWARE_TEXT and UM_KEEP_ALIVE, with their parameters (pointers valid
// during the call only). The view answers 1.
class ViewPane {
public:
    virtual ~ViewPane() = default;
    virtual intptr_t onMessage(unsigned message, uintptr_t wParam, intptr_t lParam) = 0;
};

}  // namespace ravo::desktop
