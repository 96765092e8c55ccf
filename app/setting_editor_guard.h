#pragma once
#include "app/ravo_config_app.h"

namespace ravo {

// Held while a setting editor is open: the main window's link idle timer then
// leaves the link open (the editor writes through it) and tries again later.
class SettingEditorGuard {
public:
    explicit SettingEditorGuard(CRavo_ConfigApp& app) : app_(app) { ++app_.settingEditorsOpen; }
    ~SettingEditorGuard() { --app_.settingEditorsOpen; }
    SettingEditorGuard(const SettingEditorGuard&) = delete;
    SettingEditorGuard& operator=(const SettingEditorGuard&) = delete;

private:
    CRavo_ConfigApp& app_;
};

}  // namespace ravo
