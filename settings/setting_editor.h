#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/unit_commands.h"
#include "settings/unit_settings.h"

namespace ravo {

// The five editors a settings row can open.
enum class EditorKind { Bool, Int, Real, Reset, Clock };

// What an editor dialog shows, computed from the record. Only the members of
// the editor's kind are meaningful.
struct EditorRequest {
    EditorKind kind = EditorKind::Int;
    std::string caption;  // "Edit value", "Reset value", "Set RTC"
    std::string label;    // the label, or the reset dialog's text line
    // Bool: the two radio texts; the first stands for true.
    std::string firstText;
    std::string secondText;
    bool boolValue = false;
    // Int.
    int intValue = 0;
    int intMin = 0;
    int intMax = 1;
    int intStep = 1;
    // Real.
    int precision = 1;
    double realValue = 0.0;
    double realMin = 0.0;
    double realMax = 1.0;
    double realStep = 0.01;
    // Int and Real: the range line, and the edit field's text when shown.
    std::string rangeText;
    std::string valueText;
};

// The editor of row `rowId` for `record`, or nothing for a row that cannot
// be edited (0 or unknown).
std::optional<EditorRequest> editorForRow(int rowId, const UnitSettings& record);

// True for the reset rows, which only service mode may use.
bool rowIsServiceOnly(int rowId);
// True for the rows whose write needs the access handshake first.
bool rowNeedsHandshake(int rowId);

// Stores what the editor of `rowId` returned with OK into `record`: for Int
// and Real the entered text by the editor's conversion and clamping; for
// Bool true exactly when `entered` is the first text; the diluent rows also
// derive the N2 fraction. Reset and Clock rows change nothing.
void applyEditorEntry(int rowId, const EditorRequest& editor, const std::string& entered, UnitSettings& record);

// One setting write: the command and the primitive with its value.
struct SettingWrite {
    enum Kind { Byte, Word, Dword, Bytes };
    UnitCommand command = UNIT_CMD_SET_METRIC;
    Kind kind = Byte;
    uint32_t value = 0;  // Byte, Word, Dword
    uint8_t b0 = 0;      // Bytes
    uint8_t b1 = 0;
    bool operator==(const SettingWrite&) const = default;
};

// The writes row `rowId` sends for `record`, in order, to a unit whose link
// holds firmware `linkVersion`; `unitNow` is the PC's time in unit time for
// the clock and service date rows. Deco rows send nothing below 0x4700.
std::vector<SettingWrite> rowWrites(int rowId, const UnitSettings& record, uint32_t linkVersion, uint32_t unitNow);

}  // namespace ravo
