#include <gtest/gtest.h>

#include "app/settings_groups.h"

namespace ravo::test {
namespace {

UnitSettings fullRecord()
{
    UnitSettings s;
    s.valid = 1;
    s.hasExtendedInfo = s.hasServiceTime = s.hasStatusInfo = 1;
    s.decoAvailable = 1;
    s.decoEnabled = 1;
    s.depthLimit = 60.0;
    return s;
}

const SettingsRow& rowNamed(const std::vector<SettingsRow>& rows, const std::string& name)
{
    for (const SettingsRow& row : rows)
        if (row.name == name)
            return row;
    ADD_FAILURE() << name;
    return rows.front();
}

TEST(SettingsGroups, EveryRowLandsInOneGroupInTheDiversOrder)
{
    const std::vector<SettingsRow> rows = buildSettingsRows(fullRecord(), true);
    const std::vector<SettingsGroup> groups = groupSettingsRows(rows);
    std::vector<std::string> titles;
    size_t count = 0;
    for (const SettingsGroup& group : groups) {
        titles.push_back(group.title);
        count += group.rows.size();
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Set-up: setpoints", "Set-up: gases", "Set-up: deco",
                                                 "Set-up: display", "Live status", "Service"}));
    EXPECT_EQ(count, rows.size());
    EXPECT_EQ(groups[0].rows.front().name, "Setpoint surface");
    EXPECT_EQ(groups[4].rows.back().name, "System mode");
    EXPECT_EQ(groups[5].rows.back().name, "Reset cumulation OTU level");
}

TEST(SettingsGroups, TooltipsGiveUnitAndRangeAndSayWhyARowIsLocked)
{
    UnitSettings s = fullRecord();
    s.setpointSurface = 0.7;
    std::vector<SettingsRow> rows = buildSettingsRows(s, false);
    EXPECT_EQ(settingsRowTooltip(rowNamed(rows, "Setpoint depth"), s),
              "Unit: bar\nRange: 0.70..1.40\nDouble-click or press Enter to change");
    EXPECT_NE(settingsRowTooltip(rowNamed(rows, "HUD brightness"), s).find("Range: 0..100  step 25"),
              std::string::npos);
    EXPECT_NE(settingsRowTooltip(rowNamed(rows, "Decimal/point"), s).find("Choices: Decimal or Point"),
              std::string::npos);
    EXPECT_EQ(settingsRowLockedReason(rowNamed(rows, "DIL O2 part (%)"), s), "");

    s.decoEnabled = 0;
    rows = buildSettingsRows(s, false);
    for (const char* locked : {"DIL O2 part (%)", "DIL HE part (%)", "Max TimeToSurface (min)"}) {
        EXPECT_EQ(settingsRowLockedReason(rowNamed(rows, locked), s), "Read-only while deco is off") << locked;
        EXPECT_NE(settingsRowTooltip(rowNamed(rows, locked), s).find("Read-only while deco is off"),
                  std::string::npos);
    }
    s.decoEnabled = 1;
    s.depthLimit = 40.0;
    rows = buildSettingsRows(s, false);
    EXPECT_EQ(settingsRowLockedReason(rowNamed(rows, "DIL HE part (%)"), s),
              "Read-only while the depth limit is 40 m or less");
    EXPECT_EQ(settingsRowLockedReason(rowNamed(rows, "O2 sensor 1 (mV)"), s), "");
    EXPECT_EQ(settingsRowTooltip(rowNamed(rows, "O2 sensor 1 (mV)"), s),
              "Unit: mV\nRead-only: shown as the unit reports it");
}

}  // namespace
}  // namespace ravo::test
