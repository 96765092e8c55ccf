#include "settings/settings_rows.h"

#include "link/c_format.h"
#include "link/unit_time.h"
#include "settings/setting_texts.h"

namespace ravo {
namespace {

class RowBuilder {
public:
    explicit RowBuilder(std::vector<SettingsRow>& rows) : rows_(rows) {}

    void text(bool editable, int rowId, const char* name, std::string value)
    {
        SettingsRow row;
        row.name = name;
        row.value = std::move(value);
        row.editable = editable;
        row.rowId = editable ? rowId : ROW_NONE;
        row.bold = editable;
        rows_.push_back(std::move(row));
    }
    void integer(bool editable, int rowId, const char* name, int value)
    {
        text(editable, rowId, name, integerCellText(value));
        rows_.back().numeric = true;
    }
    void real(int precision, bool editable, int rowId, const char* name, double value)
    {
        text(editable, rowId, name, realCellText(value, precision));
        rows_.back().numeric = true;
    }

private:
    std::vector<SettingsRow>& rows_;
};

}  // namespace

std::string integerCellText(int value)
{
    return formatC("%d", value);
}

std::string realCellText(double value, int precision)
{
    if (precision < 0)
        return formatC("%f", value);
    return formatC("%0.*f", precision, value);
}

namespace {

struct BoolRowTexts {
    int rowId;
    const char* whenTrue;
    const char* whenFalse;
};

constexpr BoolRowTexts kBoolRows[] = {
    {ROW_DECIMAL, "decimal", "point"},
    {ROW_METRIC, "metric", "imperial"},
    {ROW_HIGH_RES, "high res", "temperature"},
    {ROW_DECO_ENABLED, "Yes", "No"},
};

std::string boolCell(int rowId, bool value)
{
    std::string whenTrue, whenFalse;
    boolRowTexts(rowId, whenTrue, whenFalse);
    return value ? whenTrue : whenFalse;
}

}  // namespace

bool boolRowTexts(int rowId, std::string& whenTrue, std::string& whenFalse)
{
    for (const BoolRowTexts& row : kBoolRows) {
        if (row.rowId == rowId) {
            whenTrue = row.whenTrue;
            whenFalse = row.whenFalse;
            return true;
        }
    }
    return false;
}

bool trimixDiluentEditing(const UnitSettings& s)
{
    return s.decoAvailable && s.decoEnabled && s.depthLimit > 40.0;
}

std::vector<SettingsRow> buildSettingsRows(const UnitSettings& s, bool serviceMode)
{
    std::vector<SettingsRow> rows;
    if (!s.valid)
        return rows;
    RowBuilder add(rows);
    const bool trimix = trimixDiluentEditing(s);

    add.text(true, ROW_DECIMAL, "Decimal/point", boolCell(ROW_DECIMAL, s.decimalMode));
    add.text(true, ROW_METRIC, "Metric/Imperial", boolCell(ROW_METRIC, s.metric));
    add.text(true, ROW_HIGH_RES, "HigResInDisplay", boolCell(ROW_HIGH_RES, s.highResO2));
    add.integer(true, ROW_BACKLIGHT, "Backlight brightness", s.backlightBrightness);
    add.integer(true, ROW_BACKLIGHT_OFF, "Backlight offlevel", s.backlightOffLevel);
    add.integer(true, ROW_HUD, "HUD brightness", s.hudBrightness);
    add.real(1, true, ROW_SETPOINT_SURFACE, "Setpoint surface", s.setpointSurface);
    add.real(1, true, ROW_SETPOINT_DEPTH, "Setpoint depth", s.setpointDepth);
    add.real(1, true, ROW_DIL_SIZE, "DIL size (liter)", s.dilSize);
    add.real(0, true, ROW_DIL_PRESSURE, "DIL pressure (bar)", s.dilPressure);
    add.integer(trimix, ROW_DIL_O2, "DIL O2 part (%)", 100 - s.dilN2Percent - s.dilHePercent);
    add.integer(trimix, ROW_DIL_HE, "DIL HE part (%)", s.dilHePercent);
    add.integer(false, ROW_NONE, "DIL N2 part (%)", s.dilN2Percent);
    add.real(1, false, ROW_NONE, "Oxygen size (liter)", s.oxygenSize);
    add.real(0, false, ROW_NONE, "Oxygen pressure (bar)", s.oxygenPressure);
    add.integer(true, ROW_OXYGEN_PART, "Oxygen part (%)", s.oxygenPercent);
    add.real(1, false, ROW_NONE, "Counter lung volume (liter)", s.counterLungVolume);
    add.integer(false, ROW_NONE, "RMV value (liter)", s.rmv);
    add.integer(false, ROW_NONE, "vdot 02 damping", s.vdotO2Damping);
    add.text(true, ROW_RTC, "RTC time (UTC)", FormatUnitTime(s.rtcTime));
    if (s.hasServiceTime)
        add.text(false, ROW_NONE, "Service time (UTC)", serviceTimeText(s.serviceTime, s.rtcTime));
    add.text(false, ROW_NONE, "TimeToFly time (UTC)", noFlyText(s.timeToFly, s.rtcTime));
    add.text(false, ROW_NONE, "Mouthpiece pos", mouthpieceText(s.mouthpiecePosition));
    if (s.hasExtendedInfo) {
        add.integer(false, ROW_NONE, "O2 sensor 1 (mV)", s.o2Sensor1mV);
        add.integer(false, ROW_NONE, "O2 sensor 2 (mV)", s.o2Sensor2mV);
        add.text(false, ROW_NONE, "Battery SR", formatC("%04X", unsigned(s.batterySerial)));
        add.real(0, false, ROW_NONE, "Depth limit (m)", s.depthLimit);
        if (s.decoAvailable) {
            add.text(true, ROW_DECO_ENABLED, "Deco enabled", boolCell(ROW_DECO_ENABLED, s.decoEnabled));
            add.integer(s.decoEnabled != 0, ROW_MAX_TTS, "Max TimeToSurface (min)", s.maxTimeToSurface);
        }
    }
    if (s.hasStatusInfo) {
        add.integer(false, ROW_NONE, "OTU value", s.otuValue);
        add.text(false, ROW_NONE, "Battery type", batteryTypeText(s.batteryType));
        add.text(false, ROW_NONE, "E-module type", moduleTypeText(s.eModuleType));
        add.text(false, ROW_NONE, "System mode", systemModeText(s.systemMode, s.testNumber, s.errorCode));
    }
    if (serviceMode) {
        add.text(true, ROW_RESET_SERVICE_DATE, "Reset servicedate", "RESET");
        add.text(true, ROW_RESET_TISSUES, "Reset tissuetension", "RESET");
        add.text(true, ROW_RESET_OTU, "Reset cumulation OTU level", "RESET");
    }
    return rows;
}

}  // namespace ravo
