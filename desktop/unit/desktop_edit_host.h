#pragma once
#include "settings/setting_edit.h"

class QWidget;

namespace ravo::desktop {

// The setting editors of the window: the T* dialogs, and notices as message
// boxes. What reaches the unit goes through the main window as a job.
class DesktopEditHost : public SettingEditHost {
public:
    explicit DesktopEditHost(QWidget* parent) : parent_(parent) {}

    // The row being edited: its yes/no editor shows the list's two texts.
    int rowId = 0;

    bool showEditor(const EditorRequest& editor, std::string& entered) override;
    void notice(const std::string& text) override;
    void requestReread() override {}

private:
    QWidget* parent_;
};

}  // namespace ravo::desktop
