#pragma once

namespace ravo {
class CRavo_ConfigApp;
class FrameRequests;
struct FrameState;
struct TreeLabels;
}

namespace ravo::desktop {

class FrameSignals;

// What a right-hand view works with: the application object (configuration,
// saved logs), the main window's requests, and the frame's state with the
// signals of its changes, which every view follows whether it shows or not.
struct ViewContext {
    CRavo_ConfigApp& app;
    FrameRequests& frame;
    const FrameState& state;
    FrameSignals& changes;
};

// A right-hand view of the main window. The window passes the tree's
// selection to the view showing.
class ViewPane {
public:
    virtual ~ViewPane() = default;
    virtual void treeSelection(const TreeLabels& labels) = 0;
};

}  // namespace ravo::desktop
