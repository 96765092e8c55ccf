#include "settings/setting_editor.h"

#include <algorithm>

#include "link/c_format.h"
#include "settings/entry_conversion.h"
#include "link/unit_conversions.h"
#include "settings/settings_rows.h"

namespace ravo {
namespace {

EditorRequest boolEditor(const char* label, const char* first, const char* second, bool value)
{
    EditorRequest e;
    e.kind = EditorKind::Bool;
    e.caption = "Edit value";
    e.label = label;
    e.firstText = first;
    e.secondText = second;
    e.boolValue = value;
    e.valueText = value ? first : second;
    return e;
}

EditorRequest intEditor(const char* label, int minimum, int maximum, int step, int value)
{
    EditorRequest e;
    e.kind = EditorKind::Int;
    e.caption = "Edit value";
    e.label = label;
    e.intMin = minimum;
    e.intMax = maximum;
    e.intStep = step;
    e.intValue = value;
    e.rangeText = intRangeText(minimum, maximum, step);
    e.valueText = formatC("%d", value);
    return e;
}

EditorRequest realEditor(const char* label, int precision, double minimum, double maximum, double step, double value)
{
    EditorRequest e;
    e.kind = EditorKind::Real;
    e.caption = "Edit value";
    e.label = label;
    e.precision = precision;
    e.realMin = minimum;
    e.realMax = maximum;
    e.realStep = step;
    e.realValue = value;
    e.rangeText = realRangeText(precision, minimum, maximum);
    e.valueText = formatC("%.*lf", precision, value);
    return e;
}

EditorRequest resetEditor(const char* text)
{
    EditorRequest e;
    e.kind = EditorKind::Reset;
    e.caption = "Reset value";
    e.label = text;
    return e;
}

EditorRequest clockEditor()
{
    EditorRequest e;
    e.kind = EditorKind::Clock;
    e.caption = "Set RTC";
    e.label = "Set RealTimeClock";
    return e;
}

// The lowest diluent O2 fraction: 1 with the unrestricted battery, else 16.
int lowestDiluentO2(const UnitSettings& s)
{
    return s.batteryType == 4 ? 1 : 16;
}

// The current diluent O2 fraction kept within what the unit allows.
int boundedDiluentO2(const UnitSettings& s)
{
    int j = lowestDiluentO2(s);
    int o2 = 100 - s.dilN2Percent - s.dilHePercent;
    if (o2 < j)
        return j;
    return std::min(o2, 21);
}

int boundedN2(int n2)
{
    return std::clamp(n2, 0, 80);
}

}  // namespace

std::optional<EditorRequest> editorForRow(int rowId, const UnitSettings& s)
{
    switch (rowId) {
    case ROW_DECIMAL: return boolEditor("Edit indication", "Decimal", "Point", s.decimalMode);
    case ROW_METRIC: return boolEditor("Edit indication", "Metric", "Imperial", s.metric);
    case ROW_HIGH_RES: return boolEditor("Edit indication", "HighResO2", "Temperature", s.highResO2);
    case ROW_BACKLIGHT: return intEditor("Edit Backlight brightness", 0, 100, 1, s.backlightBrightness);
    case ROW_BACKLIGHT_OFF: return intEditor("Edit Backlight off level", 0, 100, 1, s.backlightOffLevel);
    case ROW_HUD: return intEditor("Edit HUD brightness", 0, 100, 25, s.hudBrightness);
    case ROW_SETPOINT_SURFACE:
        return realEditor("Setpoint at surface (SP1)", 2, 0.5, std::min(s.setpointDepth, 0.95), 0.1,
                          s.setpointSurface);
    case ROW_SETPOINT_DEPTH:
        return realEditor("Setpoint at depth (SP2)", 2, std::max(s.setpointSurface, 0.6), 1.4, 0.1, s.setpointDepth);
    case ROW_DIL_SIZE: return realEditor("Edit DIL size", 1, 1, 16, 1, s.dilSize);
    case ROW_DIL_PRESSURE: return realEditor("Edit DIL pressure", 0, 150, 300, 1, s.dilPressure);
    case ROW_DIL_O2: {
        int he = s.dilHePercent;
        return intEditor("Edit Diluent O2 part", std::max(20 - he, lowestDiluentO2(s)), 21, 1,
                         100 - s.dilN2Percent - he);
    }
    case ROW_DIL_HE: return intEditor("Edit Diluent HE part", 0, 100 - boundedDiluentO2(s), 1, s.dilHePercent);
    case ROW_OXYGEN_PART: return intEditor("Edit Oxygen part", 92, 100, 1, s.oxygenPercent);
    case ROW_RTC: return clockEditor();
    case ROW_RESET_SERVICE_DATE: return resetEditor("Reset servicedate");
    case ROW_RESET_TISSUES: return resetEditor("Reset tissuetension");
    case ROW_RESET_OTU: return resetEditor("Reset cumulation OTU level");
    case ROW_DECO_ENABLED: return boolEditor("Edit Deco Enable", "On", "Off", s.decoEnabled);
    case ROW_MAX_TTS: return intEditor("Edit Deco Time To Surface", 0, 255, 1, s.maxTimeToSurface);
    default: return std::nullopt;
    }
}

bool rowIsServiceOnly(int rowId)
{
    return rowId == ROW_RESET_SERVICE_DATE || rowId == ROW_RESET_TISSUES || rowId == ROW_RESET_OTU;
}

bool rowNeedsHandshake(int rowId)
{
    switch (rowId) {
    case ROW_HIGH_RES:
    case ROW_DIL_PRESSURE:
    case ROW_DIL_O2:
    case ROW_DIL_HE:
    case ROW_OXYGEN_PART:
    case ROW_RESET_SERVICE_DATE:
    case ROW_RESET_TISSUES:
    case ROW_RESET_OTU:
    case ROW_DECO_ENABLED:
    case ROW_MAX_TTS: return true;
    default: return false;
    }
}

void applyEditorEntry(int rowId, const EditorRequest& e, const std::string& entered, UnitSettings& s)
{
    auto asInt = [&] { return clampIntEntry(entered, e.intMin, e.intMax, e.intStep); };
    auto asReal = [&] { return clampRealEntry(entered, e.realMin, e.realMax); };
    auto asBool = [&] { return uint8_t(entered == e.firstText ? 1 : 0); };
    switch (rowId) {
    case ROW_DECIMAL: s.decimalMode = asBool(); break;
    case ROW_METRIC: s.metric = asBool(); break;
    case ROW_HIGH_RES: s.highResO2 = asBool(); break;
    case ROW_BACKLIGHT: s.backlightBrightness = asInt(); break;
    case ROW_BACKLIGHT_OFF: s.backlightOffLevel = asInt(); break;
    case ROW_HUD: s.hudBrightness = asInt(); break;
    case ROW_SETPOINT_SURFACE: s.setpointSurface = asReal(); break;
    case ROW_SETPOINT_DEPTH: s.setpointDepth = asReal(); break;
    case ROW_DIL_SIZE: s.dilSize = asReal(); break;
    case ROW_DIL_PRESSURE: s.dilPressure = asReal(); break;
    case ROW_DIL_O2: s.dilN2Percent = boundedN2(100 - asInt() - s.dilHePercent); break;
    case ROW_DIL_HE: {
        // The O2 fraction stays where it was; N2 takes up the change.
        int o2 = boundedDiluentO2(s);
        s.dilHePercent = asInt();
        s.dilN2Percent = boundedN2(100 - o2 - s.dilHePercent);
        break;
    }
    case ROW_OXYGEN_PART: s.oxygenPercent = asInt(); break;
    case ROW_DECO_ENABLED: s.decoEnabled = asBool(); break;
    case ROW_MAX_TTS: s.maxTimeToSurface = asInt(); break;
    default: break;
    }
}

std::vector<SettingWrite> rowWrites(int rowId, const UnitSettings& s, uint32_t linkVersion, uint32_t unitNow)
{
    auto byte = [](UnitCommand c, uint32_t v) { return SettingWrite{c, SettingWrite::Byte, v & 0xFF, 0, 0}; };
    auto word = [](UnitCommand c, int32_t v) { return SettingWrite{c, SettingWrite::Word, uint32_t(v) & 0xFFFF, 0, 0}; };
    auto dword = [](UnitCommand c, uint32_t v) { return SettingWrite{c, SettingWrite::Dword, v, 0, 0}; };
    const bool secondMap = linkVersion >= kFirmwareSecondMap;
    switch (rowId) {
    case ROW_DECIMAL: return {byte(UNIT_CMD_SET_DECIMAL, s.decimalMode ? 1 : 0)};
    case ROW_METRIC: return {byte(UNIT_CMD_SET_METRIC, s.metric ? 1 : 0)};
    case ROW_HIGH_RES: return {byte(UNIT_CMD_SET_HIGH_RES, s.highResO2 ? 1 : 0)};
    case ROW_BACKLIGHT:
    case ROW_BACKLIGHT_OFF:
        // Both levels always travel together.
        return {SettingWrite{UNIT_CMD_SET_BACKLIGHT, SettingWrite::Bytes, 0, backlightByteFromPercent(s.backlightBrightness),
                             backlightByteFromPercent(s.backlightOffLevel)}};
    case ROW_HUD: return {word(UNIT_CMD_SET_HUD_BRIGHTNESS, hudWordFromPercent(s.hudBrightness))};
    case ROW_SETPOINT_SURFACE: return {word(UNIT_CMD_SET_SETPOINT_SURFACE, truncatedProduct(s.setpointSurface, 100))};
    case ROW_SETPOINT_DEPTH: return {word(UNIT_CMD_SET_SETPOINT_DEPTH, truncatedProduct(s.setpointDepth, 100))};
    case ROW_DIL_SIZE: return {byte(UNIT_CMD_SET_DIL_SIZE, uint32_t(truncatedProduct(s.dilSize, 10)))};
    case ROW_DIL_PRESSURE: return {word(UNIT_CMD_SET_DIL_PRESSURE, truncatedProduct(s.dilPressure, 10))};
    case ROW_DIL_O2: return {word(UNIT_CMD_SET_DIL_N2, s.dilN2Percent)};
    case ROW_DIL_HE: return {word(UNIT_CMD_SET_DIL_HE, s.dilHePercent), word(UNIT_CMD_SET_DIL_N2, s.dilN2Percent)};
    case ROW_OXYGEN_PART: return {word(UNIT_CMD_SET_OXYGEN_PART, s.oxygenPercent)};
    case ROW_RTC: return {dword(UNIT_CMD_SET_CLOCK, unitNow)};
    case ROW_RESET_SERVICE_DATE: return {dword(UNIT_CMD_SET_SERVICE_DATE, unitNow)};
    case ROW_RESET_TISSUES: return {byte(UNIT_CMD_RESET_TISSUES, 1)};
    case ROW_RESET_OTU: return {byte(UNIT_CMD_RESET_OTU, 1)};
    case ROW_DECO_ENABLED:
        if (!secondMap)
            return {};
        return {byte(UNIT_CMD_SET_DECO_ENABLED, s.decoEnabled ? 1 : 0)};
    case ROW_MAX_TTS:
        if (!secondMap)
            return {};
        return {byte(UNIT_CMD_SET_MAX_TTS, uint32_t(s.maxTimeToSurface))};
    default: return {};
    }
}

}  // namespace ravo
