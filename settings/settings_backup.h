#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "settings/setting_edit_unit.h"
#include "settings/unit_settings.h"

namespace ravo {

// A saved copy of a unit's settings: the head (unit number, firmware, when),
// the list's rows as the user saw them, and the record with the values the
// unit held, from which a restore works.
struct SettingsBackup {
    uint16_t unitNumber = 0;
    uint32_t firmwareVersion = 0;
    std::string savedAt;  // UTC, "%Y-%m-%d %H:%M:%S"
    std::vector<std::pair<std::string, std::string>> rows;
    UnitSettings record;
};

// The backup file's text (INI, CR LF) of `record` read from unit `unitNumber`
// running `firmwareVersion`, saved at unit time `savedAt`.
std::string settingsBackupText(const UnitSettings& record, uint16_t unitNumber, uint32_t firmwareVersion,
                               uint32_t savedAt);

// Reads a backup file's text. False with the reason in `error` when it is no
// settings backup, a value is missing or no number, or the record was not a
// complete read.
bool parseSettingsBackup(const std::string& text, SettingsBackup& backup, std::string& error);

// Whether `backup` may be restored onto unit `unitNumber` running
// `firmwareVersion`: the same unit number and the same firmware family (the
// opcode map, which decides the settings the unit has). Empty when it may,
// else the message for the user.
std::string backupMismatch(const SettingsBackup& backup, uint16_t unitNumber, uint32_t firmwareVersion);

// One row whose value differs between the unit and the file.
struct SettingDifference {
    int rowId = 0;          // the row's id when a restore can write it, else 0
    std::string name;
    std::string unitValue;  // "--" when the unit has no such row
    std::string fileValue;  // "--" when the file has no such row
    bool restorable = false;  // an editable setting (not the clock), checked by default
};

// `record` with its values as the unit stores them: the reals at the unit's
// resolution, the brightness levels in its steps. A value read from the unit
// or a file is rounded to them; `asSent` truncates as a write does.
UnitSettings atUnitResolution(const UnitSettings& record, bool asSent = false);

// Whether the value of row `rowId` is the same in both, at the unit's own
// resolution: the one comparison of the dry run, of the check after a
// restore and of the check after a single edit. True for a row that holds
// no value (the clock, the resets).
bool sameRowValue(int rowId, const UnitSettings& a, const UnitSettings& b);

// Every row of the settings list whose value differs, in list order.
std::vector<SettingDifference> settingsDifferences(const UnitSettings& unit, const UnitSettings& file);

struct RestoreResult {
    EditOutcome failure = EditOutcome::Sent;  // Sent when no edit failed
    int written = 0;                          // rows sent to the unit; once checked, rows the unit holds
    std::vector<std::string> notWritten;      // checked rows the unit does not hold (or not confirmed)
    bool checked = false;                     // the settings were read back and compared
};

// Writes the rows `rowIds` of `file` onto the unit, each through the same
// editor rules as a hand edit (ranges, steps, derived values) on `record`,
// the unit's values as last read, which follows each edit. Rows that depend
// on others (the diluent rows on deco, the setpoints on each other) get a
// second pass. Stops at the first edit the link refuses. Asks the host once
// for the re-read when anything was written.
RestoreResult restoreSettings(const UnitSettings& file, const std::vector<int>& rowIds, UnitSettings& record,
                              UnitEditHost& host);

// Settles `result` against the settings read back from the unit after the
// restore (`unit`; valid 0 when that read failed): a row of `rowIds` counts
// as written only when the unit holds the file's value; every other row is
// named in notWritten, all of them when nothing could be read back.
void checkRestore(RestoreResult& result, const std::vector<int>& rowIds, const UnitSettings& unit,
                  const UnitSettings& file);

}  // namespace ravo
