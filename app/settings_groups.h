#pragma once
#include <string>
#include <vector>

#include "settings/settings_rows.h"
#include "settings/unit_settings.h"

namespace ravo {

// The settings list as a diver reads it: the rows in groups under a header
// (the set-up of setpoints, gases, deco and display, the unit's live status,
// the service data), each row with a tooltip that gives its unit and range or
// says why it cannot be changed.
struct SettingsGroup {
    std::string title;  // "Set-up: setpoints", "Live status", ...
    std::vector<SettingsRow> rows;
};

// The rows in their groups, groups in a fixed order, rows in the order given;
// groups without rows are left out.
std::vector<SettingsGroup> groupSettingsRows(const std::vector<SettingsRow>& rows);

// Why the row cannot be changed because of another setting ("Read-only while
// deco is off"); empty for an editable row and for rows that are never edited.
std::string settingsRowLockedReason(const SettingsRow& row, const UnitSettings& record);

// The row's tooltip: its unit, its range or choices for an editable row, and
// for a read-only row why.
std::string settingsRowTooltip(const SettingsRow& row, const UnitSettings& record);

}  // namespace ravo
