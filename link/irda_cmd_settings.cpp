#include "link/irda_cmd.h"
#include "link/unit_conversions.h"

namespace ravo {
namespace {

// `raw` is read only after the read that fills it has run.
template <typename Raw, typename Out>
int converted(int ok, const Raw& raw, Out& out, double factor)
{
    out = ok ? Out(raw * factor) : Out(0);
    return ok;
}

}  // namespace

int irda_cmd::GetBacklight(int& brightnessPercent, int& offLevelPercent)
{
    brightnessPercent = offLevelPercent = 0;
    UnitReply reply;
    if (!readPayload(UNIT_CMD_GET_BACKLIGHT, 2, reply))
        return 0;
    brightnessPercent = backlightPercentFromByte(reply.payload[0]);
    offLevelPercent = backlightPercentFromByte(reply.payload[1]);
    return 1;
}

int irda_cmd::GetMetric(bool& metric)
{
    uint8_t b = 0;
    const int ok = ReadByte(UNIT_CMD_GET_METRIC, b);
    metric = b != 0;
    return ok;
}

int irda_cmd::GetDecimal(bool& decimalMode)
{
    uint8_t b = 0;
    const int ok = ReadByte(UNIT_CMD_GET_DECIMAL, b);
    decimalMode = b != 0;
    return ok;
}

int irda_cmd::GetHighRes(bool& highResO2)
{
    uint8_t b = 0;
    const int ok = ReadByte(UNIT_CMD_GET_HIGH_RES, b);
    highResO2 = b != 0;
    return ok;
}

int irda_cmd::GetSetpointSurface(double& bar)
{
    uint16_t w = 0;
    return converted(ReadWord(UNIT_CMD_GET_SETPOINT_SURFACE, w), w, bar, 0.01);
}

int irda_cmd::GetSetpointDepth(double& bar)
{
    uint16_t w = 0;
    return converted(ReadWord(UNIT_CMD_GET_SETPOINT_DEPTH, w), w, bar, 0.01);
}

int irda_cmd::GetVdotDamping(int& value)
{
    uint8_t b = 0;
    return converted(ReadByte(UNIT_CMD_GET_VDOT_DAMPING, b), b, value, 1);
}

int irda_cmd::GetBatteryVoltage(double& volts)
{
    uint16_t w = 0;
    return converted(ReadWord(UNIT_CMD_GET_VOLTAGE, w), w, volts, 0.001);
}

int irda_cmd::GetO2Sensor1(int& millivolts)
{
    uint8_t b = 0;
    return converted(ReadByte(UNIT_CMD_GET_O2_SENSOR1, b), b, millivolts, 1);
}

int irda_cmd::GetO2Sensor2(int& millivolts)
{
    uint8_t b = 0;
    return converted(ReadByte(UNIT_CMD_GET_O2_SENSOR2, b), b, millivolts, 1);
}

int irda_cmd::GetDilN2(int& percent)
{
    uint16_t w = 0;
    return converted(ReadWord(UNIT_CMD_GET_DIL_N2, w), w, percent, 1);
}

int irda_cmd::GetDilHe(int& percent)
{
    uint16_t w = 0;
    return converted(ReadWord(UNIT_CMD_GET_DIL_HE, w), w, percent, 1);
}

int irda_cmd::GetOxygenPart(int& percent)
{
    uint16_t w = 0;
    return converted(ReadWord(UNIT_CMD_GET_OXYGEN_PART, w), w, percent, 1);
}

int irda_cmd::GetOxygenSize(double& litres)
{
    uint8_t b = 0;
    return converted(ReadByte(UNIT_CMD_GET_OXYGEN_SIZE, b), b, litres, 0.1);
}

int irda_cmd::GetDilSize(double& litres)
{
    uint8_t b = 0;
    return converted(ReadByte(UNIT_CMD_GET_DIL_SIZE, b), b, litres, 0.1);
}

int irda_cmd::GetRmv(int& value)
{
    uint8_t b = 0;
    return converted(ReadByte(UNIT_CMD_GET_RMV, b), b, value, 1);
}

int irda_cmd::GetCounterLung(double& litres)
{
    uint16_t w = 0;
    return converted(ReadWord(UNIT_CMD_GET_COUNTER_LUNG, w), w, litres, 0.1);
}

int irda_cmd::GetHudBrightness(uint16_t& percent)
{
    uint16_t w = 0;
    const int ok = ReadWord(UNIT_CMD_GET_HUD_BRIGHTNESS, w);
    percent = hudPercentFromWord(w);
    return ok;
}

int irda_cmd::GetClock(uint32_t& unitTime)
{
    return ReadDword(UNIT_CMD_GET_CLOCK, unitTime);
}

int irda_cmd::GetTimeToFly(uint32_t& unitTime)
{
    return ReadDword(UNIT_CMD_GET_TIME_TO_FLY, unitTime);
}

int irda_cmd::GetOxygenPressure(double& bar)
{
    uint16_t w = 0;
    return converted(ReadWord(UNIT_CMD_GET_OXYGEN_PRESSURE, w), w, bar, 0.1);
}

int irda_cmd::GetDilPressure(double& bar)
{
    uint16_t w = 0;
    return converted(ReadWord(UNIT_CMD_GET_DIL_PRESSURE, w), w, bar, 0.1);
}

int irda_cmd::GetMouthpiece(int& position)
{
    uint8_t b = 0;
    return converted(ReadByte(UNIT_CMD_GET_MOUTHPIECE, b), b, position, 1);
}

int irda_cmd::GetDepthLimit(double& metres)
{
    uint16_t w = 0;
    return converted(ReadWord(UNIT_CMD_GET_DEPTH_LIMIT, w), w, metres, 0.1);
}

int irda_cmd::GetDecoAvailable(bool& available)
{
    uint8_t b = 0;
    if (!ReadByte(UNIT_CMD_GET_DECO_AVAILABLE, b)) {
        available = false;
        return 0;
    }
    // 0xFF: the unit does not say; the value is kept.
    if (b != 0xFF)
        available = b != 0;
    return 1;
}

int irda_cmd::GetDecoEnabled(bool& enabled)
{
    uint8_t b = 0;
    const int ok = ReadByte(UNIT_CMD_GET_DECO_ENABLED, b);
    enabled = b != 0;
    return ok;
}

int irda_cmd::GetMaxTts(int& minutes)
{
    uint8_t b = 0;
    return converted(ReadByte(UNIT_CMD_GET_MAX_TTS, b), b, minutes, 1);
}

int irda_cmd::GetBatterySerial(uint16_t& serial)
{
    return ReadWord(UNIT_CMD_GET_BATTERY_SR, serial);
}

int irda_cmd::GetServiceTime(uint32_t& unitTime)
{
    return ReadDword(UNIT_CMD_GET_SERVICE_TIME, unitTime);
}

int irda_cmd::GetSystemMode(uint8_t& systemMode, uint8_t& testNumber, uint8_t& errorCode)
{
    systemMode = testNumber = errorCode = 0;
    UnitReply reply;
    if (!readPayload(UNIT_CMD_GET_SYSTEM_MODE, 3, reply))
        return 0;
    systemMode = reply.payload[0];
    testNumber = reply.payload[1];
    errorCode = reply.payload[2];
    return 1;
}

int irda_cmd::GetModuleTypes(uint8_t& batteryType, uint8_t& eModuleType)
{
    batteryType = eModuleType = 0;
    UnitReply reply;
    if (!readPayload(UNIT_CMD_GET_MODULE_TYPES, 2, reply))
        return 0;
    batteryType = reply.payload[0];
    eModuleType = reply.payload[1];
    return 1;
}

int irda_cmd::GetOtu(uint16_t& otu)
{
    return ReadWord(UNIT_CMD_GET_OTU, otu);
}

int irda_cmd::SetBacklight(int brightnessPercent, int offLevelPercent)
{
    return WriteBytes(UNIT_CMD_SET_BACKLIGHT, backlightByteFromPercent(brightnessPercent),
                      backlightByteFromPercent(offLevelPercent));
}

int irda_cmd::SetMetric(bool metric)
{
    return WriteByte(UNIT_CMD_SET_METRIC, metric ? 1 : 0);
}

int irda_cmd::SetDecimal(bool decimalMode)
{
    return WriteByte(UNIT_CMD_SET_DECIMAL, decimalMode ? 1 : 0);
}

int irda_cmd::SetHudBrightness(int percent)
{
    return WriteWord(UNIT_CMD_SET_HUD_BRIGHTNESS, hudWordFromPercent(percent));
}

int irda_cmd::SetSetpointSurface(double bar)
{
    return WriteWord(UNIT_CMD_SET_SETPOINT_SURFACE, uint16_t(truncatedProduct(bar, 100)));
}

int irda_cmd::SetSetpointDepth(double bar)
{
    return WriteWord(UNIT_CMD_SET_SETPOINT_DEPTH, uint16_t(truncatedProduct(bar, 100)));
}

int irda_cmd::SetDilSize(double litres)
{
    return WriteByte(UNIT_CMD_SET_DIL_SIZE, uint8_t(truncatedProduct(litres, 10)));
}

int irda_cmd::SetHighRes(bool highResO2)
{
    return WriteByte(UNIT_CMD_SET_HIGH_RES, highResO2 ? 1 : 0);
}

int irda_cmd::SetOxygenPart(int percent)
{
    return WriteWord(UNIT_CMD_SET_OXYGEN_PART, uint16_t(percent));
}

int irda_cmd::SetDilHe(int percent)
{
    return WriteWord(UNIT_CMD_SET_DIL_HE, uint16_t(percent));
}

int irda_cmd::SetDilN2(int percent)
{
    return WriteWord(UNIT_CMD_SET_DIL_N2, uint16_t(percent));
}

int irda_cmd::SetDilPressure(double bar)
{
    return WriteWord(UNIT_CMD_SET_DIL_PRESSURE, uint16_t(truncatedProduct(bar, 10)));
}

int irda_cmd::SetDecoEnabled(bool enabled)
{
    return WriteByte(UNIT_CMD_SET_DECO_ENABLED, enabled ? 1 : 0);
}

int irda_cmd::SetMaxTts(int minutes)
{
    return WriteByte(UNIT_CMD_SET_MAX_TTS, uint8_t(minutes));
}

int irda_cmd::SetServiceDate(uint32_t unitTime)
{
    return WriteDword(UNIT_CMD_SET_SERVICE_DATE, unitTime);
}

int irda_cmd::ResetTissues()
{
    return WriteByte(UNIT_CMD_RESET_TISSUES, 1);
}

int irda_cmd::ResetOtu()
{
    return WriteByte(UNIT_CMD_RESET_OTU, 1);
}

int irda_cmd::SendRecoveryWord()
{
    return WriteBytes(UNIT_CMD_RECOVERY_WORD, uint8_t(kRecoveryWord & 0xFF), uint8_t(kRecoveryWord >> 8));
}

int irda_cmd::SetRecoveryFlag()
{
    return WriteByte(UNIT_CMD_RECOVERY_FLAG, 1);
}

int irda_cmd::SetUnitNumber(uint16_t unitNumber)
{
    return WriteWord(UNIT_CMD_SET_UNIT_NUMBER, unitNumber);
}

}  // namespace ravo
