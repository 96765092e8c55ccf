#pragma once
#include <string>
#include <vector>

#include "settings/unit_settings.h"

namespace ravo {

// Row ids of the editable rows of the settings list; the edit path
// dispatches on them. 0 marks a row that cannot be edited.
enum SettingRowId : int {
    ROW_NONE = 0,
    ROW_DECIMAL = 1,
    ROW_METRIC = 2,
    ROW_HIGH_RES = 3,
    ROW_BACKLIGHT = 4,
    ROW_BACKLIGHT_OFF = 5,
    ROW_HUD = 6,
    ROW_SETPOINT_SURFACE = 7,
    ROW_SETPOINT_DEPTH = 8,
    ROW_DIL_SIZE = 10,
    ROW_DIL_PRESSURE = 11,
    ROW_DIL_O2 = 13,
    ROW_DIL_HE = 14,
    ROW_OXYGEN_PART = 17,
    ROW_RTC = 20,
    ROW_RESET_SERVICE_DATE = 22,
    ROW_RESET_TISSUES = 23,
    ROW_RESET_OTU = 24,
    ROW_DECO_ENABLED = 26,
    ROW_MAX_TTS = 27,
};

// One row of the settings list as the list shows it. An editable row carries
// its row id and is drawn bold in both cells; any other row has id 0.
struct SettingsRow {
    std::string name;
    std::string value;
    bool editable = false;
    int rowId = ROW_NONE;
    bool bold = false;
    // The value is a decimal number ("1.0", "35"); every other row shows a
    // text (a choice, a time, a code such as the battery serial "0123").
    bool numeric = false;
};

// The rows of the settings list for `record`, in order: none when the record
// is not valid; the reset rows only in service mode.
std::vector<SettingsRow> buildSettingsRows(const UnitSettings& record, bool serviceMode);

// The two texts a yes/no row shows, for the value true and for false; false
// for a row that is not a yes/no row.
bool boolRowTexts(int rowId, std::string& whenTrue, std::string& whenFalse);

// True when the diluent O2 and He fractions may be edited: deco offered and
// switched on and a depth limit beyond 40 m.
bool trimixDiluentEditing(const UnitSettings& record);

// Cell texts of the list's add-row helpers: "%d", and "%0.*f" ("%f" when the
// precision is negative).
std::string integerCellText(int value);
std::string realCellText(double value, int precision);

}  // namespace ravo
