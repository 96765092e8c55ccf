// A settings backup file as "Restore settings..." and "ravo-cli settings
// restore" read it: parsed, checked against a unit, compared with a record.
#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/settings_backup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace ravo;
    std::string text(reinterpret_cast<const char*>(data), size);
    SettingsBackup backup;
    std::string error;
    if (!parseSettingsBackup(text, backup, error))
        return 0;
    backupMismatch(backup, 0x1234, 0x4925);
    UnitSettings unit;
    unit.valid = 1;
    settingsDifferences(unit, backup.record);
    settingsBackupText(backup.record, backup.unitNumber, backup.firmwareVersion, 0);
    return 0;
}
