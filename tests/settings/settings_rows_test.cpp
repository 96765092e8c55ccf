#include <gtest/gtest.h>

#include <algorithm>

#include "link/unit_time.h"
#include "settings/setting_texts.h"
#include "settings/settings_rows.h"

namespace ravo {
namespace {

UnitSettings validRecord()
{
    UnitSettings s;
    s.valid = 1;
    s.rtcTime = 800000000;
    return s;
}

const SettingsRow* find(const std::vector<SettingsRow>& rows, const std::string& name)
{
    auto it = std::find_if(rows.begin(), rows.end(), [&](const SettingsRow& r) { return r.name == name; });
    return it == rows.end() ? nullptr : &*it;
}

std::vector<std::string> names(const std::vector<SettingsRow>& rows)
{
    std::vector<std::string> out;
    for (const auto& r : rows)
        out.push_back(r.name);
    return out;
}

TEST(SettingsRows, InvalidRecordGivesNoRows)
{
    UnitSettings s;
    EXPECT_TRUE(buildSettingsRows(s, false).empty());
    EXPECT_TRUE(buildSettingsRows(s, true).empty());
}

TEST(SettingsRows, FirstMapUnitHasTwentyTwoRowsAndTwentyFiveInServiceMode)
{
    UnitSettings s = validRecord();
    auto rows = buildSettingsRows(s, false);
    const std::vector<std::string> expected = {
        "Decimal/point", "Metric/Imperial", "HigResInDisplay", "Backlight brightness", "Backlight offlevel",
        "HUD brightness", "Setpoint surface", "Setpoint depth", "DIL size (liter)", "DIL pressure (bar)",
        "DIL O2 part (%)", "DIL HE part (%)", "DIL N2 part (%)", "Oxygen size (liter)", "Oxygen pressure (bar)",
        "Oxygen part (%)", "Counter lung volume (liter)", "RMV value (liter)", "vdot 02 damping",
        "RTC time (UTC)", "TimeToFly time (UTC)", "Mouthpiece pos"};
    EXPECT_EQ(names(rows), expected);
    auto service = buildSettingsRows(s, true);
    ASSERT_EQ(service.size(), 25u);
    EXPECT_EQ(service[22].name, "Reset servicedate");
    EXPECT_EQ(service[23].name, "Reset tissuetension");
    EXPECT_EQ(service[24].name, "Reset cumulation OTU level");
    for (int i = 22; i < 25; ++i) {
        EXPECT_EQ(service[i].value, "RESET");
        EXPECT_TRUE(service[i].bold);
        EXPECT_EQ(service[i].rowId, 22 + (i - 22));
    }
}

TEST(SettingsRows, DefaultValueTextsAndFlags)
{
    auto rows = buildSettingsRows(validRecord(), false);
    struct Expect {
        const char* name;
        const char* value;
        int rowId;
    };
    const Expect table[] = {
        {"Decimal/point", "decimal", 1},       {"Metric/Imperial", "metric", 2},
        {"HigResInDisplay", "high res", 3},    {"Backlight brightness", "50", 4},
        {"Backlight offlevel", "25", 5},       {"HUD brightness", "100", 6},
        {"Setpoint surface", "0.5", 7},        {"Setpoint depth", "1.2", 8},
        {"DIL size (liter)", "3.0", 10},       {"DIL pressure (bar)", "200", 11},
        {"DIL O2 part (%)", "21", 0},          {"DIL HE part (%)", "0", 0},
        {"DIL N2 part (%)", "79", 0},          {"Oxygen size (liter)", "3.0", 0},
        {"Oxygen pressure (bar)", "130", 0},   {"Oxygen part (%)", "99", 17},
        {"Counter lung volume (liter)", "5.7", 0}, {"RMV value (liter)", "30", 0},
        {"vdot 02 damping", "1", 0},           {"Mouthpiece pos", "Open Circuit", 0},
    };
    for (const Expect& e : table) {
        const SettingsRow* row = find(rows, e.name);
        ASSERT_NE(row, nullptr) << e.name;
        EXPECT_EQ(row->value, e.value) << e.name;
        EXPECT_EQ(row->rowId, e.rowId) << e.name;
        EXPECT_EQ(row->editable, e.rowId != 0) << e.name;
        EXPECT_EQ(row->bold, e.rowId != 0) << e.name;
    }
    EXPECT_EQ(find(rows, "RTC time (UTC)")->rowId, 20);
}

TEST(SettingsRows, BooleanTextsWhenOff)
{
    UnitSettings s = validRecord();
    s.decimalMode = 0;
    s.metric = 0;
    s.highResO2 = 0;
    auto rows = buildSettingsRows(s, false);
    EXPECT_EQ(find(rows, "Decimal/point")->value, "point");
    EXPECT_EQ(find(rows, "Metric/Imperial")->value, "imperial");
    EXPECT_EQ(find(rows, "HigResInDisplay")->value, "temperature");
}

UnitSettings extendedRecord()
{
    UnitSettings s = validRecord();
    s.hasExtendedInfo = 1;
    s.hasServiceTime = 1;
    s.hasStatusInfo = 1;
    s.serviceTime = s.rtcTime;
    return s;
}

TEST(SettingsRows, ExtendedServiceAndStatusRowsInOrder)
{
    UnitSettings s = extendedRecord();
    s.decoAvailable = 1;
    auto rows = buildSettingsRows(s, false);
    const std::vector<std::string> tail = {"RTC time (UTC)", "Service time (UTC)", "TimeToFly time (UTC)",
                                           "Mouthpiece pos", "O2 sensor 1 (mV)", "O2 sensor 2 (mV)", "Battery SR",
                                           "Depth limit (m)", "Deco enabled", "Max TimeToSurface (min)", "OTU value",
                                           "Battery type", "E-module type", "System mode"};
    auto all = names(rows);
    ASSERT_EQ(all.size(), 19 + tail.size());
    EXPECT_EQ(std::vector<std::string>(all.begin() + 19, all.end()), tail);
}

TEST(SettingsRows, ServiceTimeWithoutStatusValues)
{
    UnitSettings s = validRecord();
    s.hasExtendedInfo = 1;
    s.hasServiceTime = 1;
    auto rows = buildSettingsRows(s, false);
    EXPECT_NE(find(rows, "Service time (UTC)"), nullptr);
    EXPECT_EQ(find(rows, "System mode"), nullptr);
    EXPECT_EQ(find(rows, "OTU value"), nullptr);
    EXPECT_EQ(find(rows, "Deco enabled"), nullptr);  // deco not offered
}

TEST(SettingsRows, DecoRowsBoldOnlyWhereEditable)
{
    UnitSettings s = extendedRecord();
    s.decoAvailable = 1;
    s.decoEnabled = 0;
    auto rows = buildSettingsRows(s, false);
    EXPECT_EQ(find(rows, "Deco enabled")->value, "No");
    EXPECT_TRUE(find(rows, "Deco enabled")->bold);
    EXPECT_EQ(find(rows, "Deco enabled")->rowId, 26);
    EXPECT_FALSE(find(rows, "Max TimeToSurface (min)")->bold);
    EXPECT_EQ(find(rows, "Max TimeToSurface (min)")->rowId, 0);
    s.decoEnabled = 1;
    rows = buildSettingsRows(s, false);
    EXPECT_EQ(find(rows, "Deco enabled")->value, "Yes");
    EXPECT_TRUE(find(rows, "Max TimeToSurface (min)")->bold);
    EXPECT_EQ(find(rows, "Max TimeToSurface (min)")->rowId, 27);
}

TEST(SettingsRows, TrimixDiluentEditingNeedsDepthBeyondForty)
{
    UnitSettings s = extendedRecord();
    s.decoAvailable = 1;
    s.decoEnabled = 1;
    s.depthLimit = 40.0;
    auto rows = buildSettingsRows(s, false);
    EXPECT_FALSE(find(rows, "DIL O2 part (%)")->editable);
    EXPECT_FALSE(find(rows, "DIL HE part (%)")->editable);
    s.depthLimit = 40.1;
    rows = buildSettingsRows(s, false);
    EXPECT_EQ(find(rows, "DIL O2 part (%)")->rowId, 13);
    EXPECT_EQ(find(rows, "DIL HE part (%)")->rowId, 14);
    EXPECT_TRUE(find(rows, "DIL HE part (%)")->bold);
    s.decoEnabled = 0;
    EXPECT_FALSE(trimixDiluentEditing(s));
}

TEST(SettingsRows, SensorSerialAndDepthTexts)
{
    UnitSettings s = extendedRecord();
    s.o2Sensor1mV = -1;
    s.o2Sensor2mV = 43;
    s.batterySerial = 0x00AB;
    s.depthLimit = 60.4;
    auto rows = buildSettingsRows(s, false);
    EXPECT_EQ(find(rows, "O2 sensor 1 (mV)")->value, "-1");
    EXPECT_EQ(find(rows, "O2 sensor 2 (mV)")->value, "43");
    EXPECT_EQ(find(rows, "Battery SR")->value, "00AB");
    EXPECT_EQ(find(rows, "Depth limit (m)")->value, "60");
}

TEST(SettingTexts, ServiceTimeBoundaries)
{
    const uint32_t rtc = 800000000;
    const uint32_t period = 728u * 86400u;
    EXPECT_EQ(serviceTimeText(rtc, rtc), FormatUnitTime(rtc));
    EXPECT_EQ(serviceTimeText(rtc - period, rtc), FormatUnitTime(rtc - period));
    EXPECT_EQ(serviceTimeText(rtc - period - 1, rtc), "-- service needed --");
    EXPECT_EQ(serviceTimeText(rtc + 1, rtc), "-- service needed --");
    EXPECT_EQ(serviceTimeText(0xFFFFFFFFu, 0xFFFFFFFFu), "-- service needed --");
    // The sum wraps at 32 bits, as on the unit: near the top of the range a
    // recent service date reads as overdue.
    EXPECT_EQ(serviceTimeText(0xFFFFFF00u, 0xFFFFFF10u), "-- service needed --");
}

TEST(SettingTexts, NoFlyBoundaries)
{
    const uint32_t rtc = 800000000;
    EXPECT_EQ(noFlyText(rtc, rtc), FormatUnitTime(rtc));
    EXPECT_EQ(noFlyText(rtc - 1, rtc), "-- no limit --");
    EXPECT_EQ(noFlyText(0xFFFFFFFFu, rtc), "-- no limit --");
}

TEST(SettingTexts, UnitTimeIsUtcFromTheYear2000)
{
    EXPECT_EQ(FormatUnitTime(0), "2000-01-01 00:00:00");
    EXPECT_EQ(FormatUnitTime(86400 + 3661), "2000-01-02 01:01:01");
    EXPECT_EQ(FormatUnitTime(0xFFFFFFFFu), "2136-02-07 06:28:15");
}

TEST(SettingTexts, SystemModeTexts)
{
    EXPECT_EQ(systemModeText(1, 7, 255), "Pre dive test : Test number 7");
    EXPECT_EQ(systemModeText(1, 7, 3), "Pre dive test : Test number 7 : Error 3");
    EXPECT_EQ(systemModeText(0, 2, 255), "Power up self test : Test number 2");
    EXPECT_EQ(systemModeText(3, 7, 3), "Dive");
    EXPECT_EQ(systemModeText(2, 0, 0), "Ready to dive");
    EXPECT_EQ(systemModeText(9, 1, 1), "Unknown mode");
}

TEST(SettingTexts, TypeAndMouthpieceTexts)
{
    EXPECT_EQ(batteryTypeText(0), "Unknown information not avalible yet (test 39)");
    EXPECT_EQ(batteryTypeText(4), "60m No Restriction (Black)");
    EXPECT_EQ(batteryTypeText(5), "60m Trimix (White)");
    EXPECT_EQ(batteryTypeText(6), "Unknown type");
    EXPECT_EQ(moduleTypeText(1), "Standard unit (max 48m)");
    EXPECT_EQ(moduleTypeText(2), "Enhanced unit (max 60m)");
    EXPECT_EQ(moduleTypeText(-1), "Unknown type");
    EXPECT_EQ(mouthpieceText(1), "Closed Circuit");
    EXPECT_EQ(mouthpieceText(0x102), "Indeterminate");  // only the low byte counts
    EXPECT_EQ(mouthpieceText(7), "Unknown");
}

TEST(SettingTexts, RealCellPrecision)
{
    // (No exact ties such as 1.25 here: C runtimes differ in how they round them.)
    EXPECT_EQ(realCellText(1.24, 1), "1.2");
    EXPECT_EQ(realCellText(1.26, 1), "1.3");
    EXPECT_EQ(realCellText(199.96, 0), "200");
    EXPECT_EQ(realCellText(1.5, -1), "1.500000");
}

}  // namespace
}  // namespace ravo
