#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "settings/entry_conversion.h"
#include "settings/setting_editor.h"
#include "settings/settings_rows.h"

namespace ravo {
namespace {

UnitSettings applied(int rowId, const std::string& entered, UnitSettings s = {})
{
    auto editor = editorForRow(rowId, s);
    EXPECT_TRUE(editor.has_value());
    applyEditorEntry(rowId, *editor, entered, s);
    return s;
}

TEST(EntryConversion, IntegerTextByAtoiRules)
{
    struct Row {
        const char* text;
        int value;
    } rows[] = {{"42", 42},    {"  42", 42},  {"+7", 7},  {"-3", -3}, {"12abc", 12}, {"abc", 0},
                {"", 0},       {" \t9", 9},   {"4 2", 4}, {"0x10", 0}, {"99999999999", 2147483647},
                {"-99999999999", -2147483647 - 1}};
    for (const Row& r : rows)
        EXPECT_EQ(entryToInt(r.text), r.value) << r.text;
}

TEST(EntryConversion, RealTextByAtofRulesInTheCLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    // A decimal comma locale, when the machine has one, must not change the reading.
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_DOUBLE_EQ(entryToReal("0.57"), 0.57);
    EXPECT_DOUBLE_EQ(entryToReal(" 1.5x"), 1.5);
    EXPECT_DOUBLE_EQ(entryToReal("1,5"), 1.0);
    EXPECT_DOUBLE_EQ(entryToReal("abc"), 0.0);
    EXPECT_DOUBLE_EQ(entryToReal("-2e1"), -20.0);
    EXPECT_DOUBLE_EQ(entryToReal("nan"), 0.0);
    EXPECT_TRUE(std::isinf(entryToReal("1e999")));
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(EntryConversion, ClampLowerBoundFirstThenUpperThenStep)
{
    EXPECT_EQ(clampIntEntry("150", 0, 100, 25), 100);
    EXPECT_EQ(clampIntEntry("60", 0, 100, 25), 50);
    EXPECT_EQ(clampIntEntry("-5", 0, 100, 25), 0);
    EXPECT_EQ(clampIntEntry("3", 92, 100, 1), 92);
    EXPECT_EQ(clampIntEntry("letters", 92, 100, 1), 92);
    EXPECT_EQ(clampIntEntry("30", 10, 100, 25), 10);  // steps count from the minimum
    EXPECT_EQ(clampIntEntry("40", 10, 100, 25), 35);
    // Inverted range: the upper bound is applied last and wins.
    EXPECT_DOUBLE_EQ(clampRealEntry("0.1", 0.5, 0.4), 0.4);
    EXPECT_DOUBLE_EQ(clampRealEntry("0.9", 0.5, 0.4), 0.4);
    EXPECT_DOUBLE_EQ(clampRealEntry("1e999", 0.5, 0.95), 0.95);
}

TEST(EntryConversion, RangeLines)
{
    EXPECT_EQ(intRangeText(0, 100, 25), "0..100  step 25");
    EXPECT_EQ(intRangeText(0, 100, 1), "0..100");
    EXPECT_EQ(realRangeText(2, 0.5, 0.8), "0.50..0.80");
    EXPECT_EQ(realRangeText(0, 150, 300), "150..300");
}

TEST(EntryConversion, EntriesTheRulesWouldChangeAreRefusedWithTheRange)
{
    // Setpoint depth: the unit's 0.70 (70 x 0.01) is a bound "0.7" reaches.
    const double surface = 70 * 0.01;
    EXPECT_EQ(realEntryRefusal("1.6", 2, surface, 1.4),
              "1.6 is outside the range 0.70..1.40. Enter a value from 0.70..1.40.");
    EXPECT_NE(realEntryRefusal("0.69", 2, surface, 1.4), "");
    for (const char* taken : {"0.7", " 1.40 ", "1", "1.25"})
        EXPECT_EQ(realEntryRefusal(taken, 2, surface, 1.4), "") << taken;
    for (const char* odd : {"", "x", "1.2x", "1,2", "1.234", "nan", "."})
        EXPECT_NE(realEntryRefusal(odd, 2, surface, 1.4).find("0.70..1.40"), std::string::npos) << odd;
    EXPECT_NE(realEntryRefusal("200.5", 0, 150, 300), "") << "the pressure is whole bars";
    EXPECT_NE(realEntryRefusal("0.5", 2, 0.5, 0.4).find("No value fits"), std::string::npos);

    // Diluent O2 18 with the range 20..21; HUD 60 between steps of 25.
    EXPECT_EQ(intEntryRefusal("18", 20, 21, 1), "18 is outside the range 20..21. Enter a value from 20..21.");
    EXPECT_NE(intEntryRefusal("60", 0, 100, 25).find("between two steps"), std::string::npos);
    EXPECT_EQ(intEntryRefusal("75", 0, 100, 25), "");
    EXPECT_EQ(intEntryRefusal("+21", 20, 21, 1), "");
    for (const char* odd : {"abc", "20.5", "99999999999", "-"})
        EXPECT_NE(intEntryRefusal(odd, 20, 21, 1), "") << odd;
}

TEST(SettingEditors, KindsLabelsAndChoices)
{
    UnitSettings s;
    auto bool1 = *editorForRow(ROW_DECIMAL, s);
    EXPECT_EQ(bool1.kind, EditorKind::Bool);
    EXPECT_EQ(bool1.caption, "Edit value");
    EXPECT_EQ(bool1.label, "Edit indication");
    EXPECT_EQ(bool1.firstText, "Decimal");
    EXPECT_EQ(bool1.secondText, "Point");
    EXPECT_TRUE(bool1.boolValue);
    EXPECT_EQ(editorForRow(ROW_METRIC, s)->secondText, "Imperial");
    EXPECT_EQ(editorForRow(ROW_HIGH_RES, s)->firstText, "HighResO2");
    EXPECT_EQ(editorForRow(ROW_DECO_ENABLED, s)->label, "Edit Deco Enable");
    EXPECT_EQ(editorForRow(ROW_DECO_ENABLED, s)->firstText, "On");

    auto hud = *editorForRow(ROW_HUD, s);
    EXPECT_EQ(hud.kind, EditorKind::Int);
    EXPECT_EQ(hud.label, "Edit HUD brightness");
    EXPECT_EQ(hud.rangeText, "0..100  step 25");
    EXPECT_EQ(hud.valueText, "100");
    EXPECT_EQ(editorForRow(ROW_MAX_TTS, s)->intMax, 255);
    EXPECT_EQ(editorForRow(ROW_OXYGEN_PART, s)->rangeText, "92..100");

    auto pressure = *editorForRow(ROW_DIL_PRESSURE, s);
    EXPECT_EQ(pressure.kind, EditorKind::Real);
    EXPECT_EQ(pressure.rangeText, "150..300");
    EXPECT_EQ(pressure.valueText, "200");
    EXPECT_EQ(editorForRow(ROW_DIL_SIZE, s)->rangeText, "1.0..16.0");

    auto rtc = *editorForRow(ROW_RTC, s);
    EXPECT_EQ(rtc.kind, EditorKind::Clock);
    EXPECT_EQ(rtc.caption, "Set RTC");
    auto reset = *editorForRow(ROW_RESET_OTU, s);
    EXPECT_EQ(reset.kind, EditorKind::Reset);
    EXPECT_EQ(reset.caption, "Reset value");
    EXPECT_EQ(reset.label, "Reset cumulation OTU level");

    for (int id : {0, 9, 12, 15, 16, 18, 19, 21, 25, 28, -1})
        EXPECT_FALSE(editorForRow(id, s).has_value()) << id;
}

TEST(SettingEditors, SetpointRanges)
{
    UnitSettings s;
    s.setpointDepth = 0.8;
    EXPECT_EQ(editorForRow(ROW_SETPOINT_SURFACE, s)->rangeText, "0.50..0.80");
    s.setpointDepth = 1.3;
    EXPECT_EQ(editorForRow(ROW_SETPOINT_SURFACE, s)->rangeText, "0.50..0.95");
    s.setpointSurface = 0.7;
    EXPECT_EQ(editorForRow(ROW_SETPOINT_DEPTH, s)->rangeText, "0.70..1.40");
    s.setpointSurface = 0.5;
    EXPECT_EQ(editorForRow(ROW_SETPOINT_DEPTH, s)->rangeText, "0.60..1.40");
    // Inverted: every entry yields the depth setpoint.
    s.setpointDepth = 0.4;
    for (const char* entry : {"0.1", "0.45", "0.9", "x"})
        EXPECT_DOUBLE_EQ(applied(ROW_SETPOINT_SURFACE, entry, s).setpointSurface, 0.4) << entry;
}

TEST(SettingEditors, IntegerEntries)
{
    EXPECT_EQ(applied(ROW_HUD, "150").hudBrightness, 100);
    EXPECT_EQ(applied(ROW_HUD, "60").hudBrightness, 50);
    EXPECT_EQ(applied(ROW_OXYGEN_PART, "3").oxygenPercent, 92);
    EXPECT_EQ(applied(ROW_OXYGEN_PART, "letters").oxygenPercent, 92);
    EXPECT_EQ(applied(ROW_BACKLIGHT, "101").backlightBrightness, 100);
    EXPECT_EQ(applied(ROW_BACKLIGHT_OFF, "-1").backlightOffLevel, 0);
    EXPECT_EQ(applied(ROW_MAX_TTS, "300").maxTimeToSurface, 255);
}

TEST(SettingEditors, BooleanEntryIsTheCheckedChoice)
{
    EXPECT_EQ(applied(ROW_METRIC, "Imperial").metric, 0);
    EXPECT_EQ(applied(ROW_METRIC, "Metric").metric, 1);
    UnitSettings off;
    off.highResO2 = 0;
    EXPECT_EQ(applied(ROW_HIGH_RES, "HighResO2", off).highResO2, 1);
    EXPECT_EQ(applied(ROW_DECO_ENABLED, "On").decoEnabled, 1);
}

TEST(SettingEditors, DiluentO2Ranges)
{
    UnitSettings s;
    s.dilN2Percent = 79;
    s.dilHePercent = 0;
    s.batteryType = 1;
    EXPECT_EQ(editorForRow(ROW_DIL_O2, s)->rangeText, "20..21");
    EXPECT_EQ(editorForRow(ROW_DIL_O2, s)->valueText, "21");
    s.dilHePercent = 30;
    s.dilN2Percent = 50;
    EXPECT_EQ(editorForRow(ROW_DIL_O2, s)->rangeText, "16..21");
    s.batteryType = 4;
    EXPECT_EQ(editorForRow(ROW_DIL_O2, s)->rangeText, "1..21");
    // New O2 10 with He 30 leaves N2 60; He is untouched.
    UnitSettings after = applied(ROW_DIL_O2, "10", s);
    EXPECT_EQ(after.dilN2Percent, 60);
    EXPECT_EQ(after.dilHePercent, 30);
}

TEST(SettingEditors, DiluentN2StaysWithinZeroToEighty)
{
    UnitSettings s;
    s.dilN2Percent = 79;
    s.dilHePercent = 0;
    s.batteryType = 4;
    // O2 1 with He 0 would make N2 99: lowered to 80.
    EXPECT_EQ(applied(ROW_DIL_O2, "1", s).dilN2Percent, 80);
}

TEST(SettingEditors, DiluentHeKeepsO2)
{
    UnitSettings s;
    s.dilN2Percent = 79;
    s.dilHePercent = 0;
    auto he = *editorForRow(ROW_DIL_HE, s);
    EXPECT_EQ(he.rangeText, "0..79");
    UnitSettings after = applied(ROW_DIL_HE, "35", s);
    EXPECT_EQ(after.dilHePercent, 35);
    EXPECT_EQ(after.dilN2Percent, 44);
    // An O2 below J is raised to J (16) for the range and the derived N2.
    s.dilN2Percent = 90;
    s.dilHePercent = 0;
    s.batteryType = 1;
    EXPECT_EQ(editorForRow(ROW_DIL_HE, s)->rangeText, "0..84");
    after = applied(ROW_DIL_HE, "10", s);
    EXPECT_EQ(after.dilN2Percent, 74);
}

TEST(SettingEditors, HandshakeAndServiceRows)
{
    for (int id : {3, 11, 13, 14, 17, 22, 23, 24, 26, 27})
        EXPECT_TRUE(rowNeedsHandshake(id)) << id;
    for (int id : {1, 2, 4, 5, 6, 7, 8, 10, 20})
        EXPECT_FALSE(rowNeedsHandshake(id)) << id;
    for (int id : {22, 23, 24})
        EXPECT_TRUE(rowIsServiceOnly(id));
    EXPECT_FALSE(rowIsServiceOnly(20));
}

struct WriteRow {
    int rowId;
    uint32_t linkVersion;
    std::vector<SettingWrite> writes;
};

TEST(SettingWrites, CommandsAndValuesPerRow)
{
    UnitSettings s;
    s.decimalMode = 0;
    s.backlightBrightness = 50;
    s.backlightOffLevel = 25;
    s.hudBrightness = 50;
    s.setpointSurface = 0.57;
    s.setpointDepth = 1.15;
    s.dilSize = 12.0;
    s.dilPressure = 232.0;
    s.dilHePercent = 35;
    s.dilN2Percent = 44;
    s.oxygenPercent = 98;
    s.decoEnabled = 1;
    s.maxTimeToSurface = 0x1FF;
    const uint32_t now = 0x12345678;
    using W = SettingWrite;
    const WriteRow rows[] = {
        {ROW_DECIMAL, 0x4700, {{UNIT_CMD_SET_DECIMAL, W::Byte, 0, 0, 0}}},
        {ROW_METRIC, 0x4700, {{UNIT_CMD_SET_METRIC, W::Byte, 1, 0, 0}}},
        {ROW_HIGH_RES, 0x4700, {{UNIT_CMD_SET_HIGH_RES, W::Byte, 1, 0, 0}}},
        {ROW_BACKLIGHT, 0x4700, {{UNIT_CMD_SET_BACKLIGHT, W::Bytes, 0, 127, 64}}},
        {ROW_BACKLIGHT_OFF, 0x4700, {{UNIT_CMD_SET_BACKLIGHT, W::Bytes, 0, 127, 64}}},
        {ROW_HUD, 0x4700, {{UNIT_CMD_SET_HUD_BRIGHTNESS, W::Word, 2, 0, 0}}},
        {ROW_SETPOINT_SURFACE, 0x4600, {{UNIT_CMD_SET_SETPOINT_SURFACE, W::Word, 56, 0, 0}}},
        {ROW_SETPOINT_DEPTH, 0x4600, {{UNIT_CMD_SET_SETPOINT_DEPTH, W::Word, 114, 0, 0}}},
        {ROW_DIL_SIZE, 0x4700, {{UNIT_CMD_SET_DIL_SIZE, W::Byte, 120, 0, 0}}},
        {ROW_DIL_PRESSURE, 0x4700, {{UNIT_CMD_SET_DIL_PRESSURE, W::Word, 2320, 0, 0}}},
        {ROW_DIL_O2, 0x4700, {{UNIT_CMD_SET_DIL_N2, W::Word, 44, 0, 0}}},
        {ROW_DIL_HE, 0x4700, {{UNIT_CMD_SET_DIL_HE, W::Word, 35, 0, 0}, {UNIT_CMD_SET_DIL_N2, W::Word, 44, 0, 0}}},
        {ROW_OXYGEN_PART, 0x4700, {{UNIT_CMD_SET_OXYGEN_PART, W::Word, 98, 0, 0}}},
        {ROW_RTC, 0x4700, {{UNIT_CMD_SET_CLOCK, W::Dword, now, 0, 0}}},
        {ROW_RESET_SERVICE_DATE, 0x4700, {{UNIT_CMD_SET_SERVICE_DATE, W::Dword, now, 0, 0}}},
        {ROW_RESET_TISSUES, 0x4700, {{UNIT_CMD_RESET_TISSUES, W::Byte, 1, 0, 0}}},
        {ROW_RESET_OTU, 0x4700, {{UNIT_CMD_RESET_OTU, W::Byte, 1, 0, 0}}},
        {ROW_DECO_ENABLED, 0x4700, {{UNIT_CMD_SET_DECO_ENABLED, W::Byte, 1, 0, 0}}},
        {ROW_DECO_ENABLED, 0x46FF, {}},
        {ROW_MAX_TTS, 0x4700, {{UNIT_CMD_SET_MAX_TTS, W::Byte, 0xFF, 0, 0}}},
        {ROW_MAX_TTS, 0x46FF, {}},
        {0, 0x4700, {}},
    };
    for (const WriteRow& row : rows)
        EXPECT_EQ(rowWrites(row.rowId, s, row.linkVersion, now), row.writes) << "row " << row.rowId;
}

TEST(SettingWrites, BacklightPercentsBecomeBytes)
{
    UnitSettings s;
    s.backlightBrightness = 100;
    s.backlightOffLevel = 0;
    auto w = rowWrites(ROW_BACKLIGHT, s, 0x4700, 0);
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].b0, 255);
    EXPECT_EQ(w[0].b1, 0);
}

}  // namespace
}  // namespace ravo
