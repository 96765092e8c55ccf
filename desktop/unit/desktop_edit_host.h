#pragma once
#include "desktop/view_pane.h"
#include "jobs/worker_edit_host.h"

class QWidget;

namespace ravo::desktop {

// The setting edits' host in the window: the editors are the T* dialogs,
// notices are message boxes, the re-read goes to the main window as
// UM_REQ_REREAD_INFO, and every wait on the link runs while the window keeps
// repainting (and takes no input, so a second edit cannot start).
class DesktopEditHost : public WorkerEditHost {
public:
    DesktopEditHost(ViewContext ctx, QWidget* parent);

    // The row being edited: its yes/no editor shows the list's two texts.
    int rowId = 0;

    bool showEditor(const EditorRequest& editor, std::string& entered) override;
    void notice(const std::string& text) override;
    void requestReread() override;
    bool waitOnLink(const std::function<void()>& work) override;

private:
    ViewContext ctx_;
    QWidget* parent_;
};

}  // namespace ravo::desktop
