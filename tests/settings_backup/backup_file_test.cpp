#include <gtest/gtest.h>

#include "settings/clock_check.h"
#include "settings/ini_file.h"
#include "settings/settings_backup.h"

namespace ravo::test {
namespace {

UnitSettings readRecord()
{
    UnitSettings s;
    s.valid = 1;
    s.setpointSurface = 0.57;
    s.setpointDepth = 1.3;
    s.hudBrightness = 75;
    s.rtcTime = 849398400;
    s.hasExtendedInfo = 1;
    s.decoAvailable = 1;
    s.decoEnabled = 1;
    s.depthLimit = 60;
    s.maxTimeToSurface = 30;
    return s;
}

TEST(BackupFile, SavedTextReadsBackToTheSameRecordAndRows)
{
    UnitSettings record = readRecord();
    std::string text = settingsBackupText(record, 0x1A2B, 0x4925, 849398400);
    EXPECT_NE(text.find("[unit]\r\nnumber = 1A2B\r\nfirmware = 4925\r\nsaved = 2026-12-01 00:00:00\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("Setpoint surface = 0.6\r\n"), std::string::npos);
    EXPECT_NE(text.find("setpointSurface = 0.57\r\n"), std::string::npos);

    SettingsBackup backup;
    std::string error;
    ASSERT_TRUE(parseSettingsBackup(text, backup, error)) << error;
    EXPECT_EQ(backup.unitNumber, 0x1A2B);
    EXPECT_EQ(backup.firmwareVersion, 0x4925u);
    EXPECT_DOUBLE_EQ(backup.record.setpointSurface, 0.57);
    EXPECT_EQ(backup.record.maxTimeToSurface, 30);
    EXPECT_TRUE(settingsDifferences(record, backup.record).empty());
    ASSERT_FALSE(backup.rows.empty());
    EXPECT_EQ(backup.rows[0], (std::pair<std::string, std::string>{"Decimal/point", "decimal"}));
}

// An editor that saves the file again may put a UTF-8 byte order mark first.
TEST(BackupFile, AByteOrderMarkIsSkipped)
{
    UnitSettings record = readRecord();
    const std::string text = "\xEF\xBB\xBF" + settingsBackupText(record, 0x1A2B, 0x4925, 849398400);
    SettingsBackup backup;
    std::string error;
    ASSERT_TRUE(parseSettingsBackup(text, backup, error)) << error;
    EXPECT_EQ(backup.unitNumber, 0x1A2B);
    EXPECT_TRUE(settingsDifferences(record, backup.record).empty());
}

TEST(BackupFile, DamagedFilesAreRefusedWithTheReason)
{
    std::string good = settingsBackupText(readRecord(), 0x1234, 0x4925, 0);
    struct Case {
        std::string text;
        std::string reason;
    } cases[] = {
        {"number = 1234\n", "line 1: an entry before the first [section]"},
        {"[unit\n", "line 1: a section name must stand between [ and ]"},
        {"[unit]\nnumber 1234\n", "line 2: expected \"name = value\""},
        {"[other]\na = b\n", "not a settings file of a Ravo unit (no [unit] or [values] section)"},
        {std::string(good).replace(good.find("number = 1234"), 13, "number = 12G4"),
         "[unit] number is not a unit number"},
        {std::string(good).replace(good.find("rmv = 30"), 8, "rmv = 3x"), "[values] rmv is missing or no number"},
        {std::string(good).replace(good.find("valid = 1"), 9, "valid = 0"), "the file holds no complete settings read"},
        {std::string(kIniMaxBytes + 1, ';'), "the file is too large"},
    };
    for (const Case& c : cases) {
        SettingsBackup backup;
        std::string error;
        EXPECT_FALSE(parseSettingsBackup(c.text, backup, error));
        EXPECT_EQ(error, c.reason);
    }
}

TEST(BackupFile, AnotherUnitOrFirmwareFamilyIsRefused)
{
    SettingsBackup backup;
    backup.unitNumber = 0x1234;
    backup.firmwareVersion = 0x4925;
    EXPECT_EQ(backupMismatch(backup, 0x1234, 0x4700), "");
    EXPECT_EQ(backupMismatch(backup, 0x4321, 0x4925), "The file holds the settings of unit 1234, not of unit 4321");
    EXPECT_EQ(backupMismatch(backup, 0x1234, 0x4512),
              "The file was saved from firmware 4700 or later (4925); the unit runs firmware before 4700 (4512)");
}

TEST(BackupFile, DifferencesNameEveryChangedRowAndOfferOnlySettings)
{
    UnitSettings unit = readRecord();
    UnitSettings file = unit;
    file.hudBrightness = 25;
    file.rtcTime = unit.rtcTime + 3600;
    file.rmv = 20;
    file.decoEnabled = 0;
    auto d = settingsDifferences(unit, file);
    ASSERT_EQ(d.size(), 4u);
    EXPECT_EQ(d[0].name, "HUD brightness");
    EXPECT_EQ(d[0].unitValue, "75");
    EXPECT_EQ(d[0].fileValue, "25");
    EXPECT_TRUE(d[0].restorable);
    EXPECT_EQ(d[0].rowId, 6);
    // Not a setting: shown, never written.
    EXPECT_EQ(d[1].name, "RMV value (liter)");
    EXPECT_FALSE(d[1].restorable);
    // The clock is set to now, never to a saved time.
    EXPECT_EQ(d[2].name, "RTC time (UTC)");
    EXPECT_FALSE(d[2].restorable);
    EXPECT_EQ(d[3].name, "Deco enabled");
    EXPECT_TRUE(d[3].restorable);
    // The list shows one decimal; the difference is still found, and shown in full.
    file = unit;
    file.setpointSurface = 0.6;
    d = settingsDifferences(unit, file);
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0].unitValue, "0.57");
    EXPECT_EQ(d[0].fileValue, "0.60");
}

TEST(ClockCheck, MoreThanAMinuteApartWarnsAndNamesTheDifference)
{
    EXPECT_FALSE(checkUnitClock(1000, 1060).warn);
    EXPECT_FALSE(checkUnitClock(1060, 1000).warn);
    ClockCheck behind = checkUnitClock(1000, 1061);
    EXPECT_TRUE(behind.warn);
    EXPECT_EQ(behind.tooltip, "The unit's clock is 1 min 1 s behind the PC's UTC time; double-click to set it to now");
    ClockCheck ahead = checkUnitClock(200000, 10000);
    EXPECT_EQ(ahead.offset, 190000);
    EXPECT_EQ(ahead.tooltip,
              "The unit's clock is 2 d 4 h 46 min 40 s ahead of the PC's UTC time; double-click to set it to now");
}

}  // namespace
}  // namespace ravo::test
