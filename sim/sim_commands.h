#pragma once
#include <cstdint>

namespace ravo::sim {

// What the unit understands. The unit's own numbering of its requests,
// independent of the link's command enum.
enum class SimCommand {
    Unknown,
    GetChallenge, SendResponse, GetVersions, GetVoltage, SetClock, EnterBootloader, PowerDown,
    GetDiveCount, GetDiveInfo, GetDiveHeader, GetDiveData,
    GetRedboxCount, GetRedboxInfo, GetRedboxHeader, GetRedboxData,
    GetBacklight, GetMetric, GetDecimal, GetHighRes, GetSetpointSurface, GetSetpointDepth,
    GetVdotDamping, GetO2Sensor1, GetO2Sensor2, GetDilN2, GetDilHe, GetOxygenPart, GetOxygenSize,
    GetDilSize, GetRmv, GetCounterLung, GetHudBrightness, GetClock, GetTimeToFly,
    GetOxygenPressure, GetDilPressure, GetMouthpiece, GetDepthLimit, GetDecoAvailable,
    GetDecoEnabled, GetMaxTts, GetBatterySerial, GetServiceTime, GetSystemMode, GetModuleTypes, GetOtu,
    SetBacklight, SetMetric, SetDecimal, SetHudBrightness, SetSetpointSurface, SetSetpointDepth,
    SetDilSize, SetHighRes, SetOxygenPart, SetDilHe, SetDilN2, SetDilPressure, SetDecoEnabled,
    SetMaxTts, SetServiceDate, ResetTissues, ResetOtu, RecoveryWord, RecoveryFlag, SetUnitNumber,
};

// The opcode a challenge is answered with.
inline constexpr uint8_t kChallengeReplyOpcode = 3;

// The command `opcode` means to a unit running firmware `version`, or Unknown.
// Below 0x4700 the first map applies, and the commands only the second map
// has are unknown; the service time needs 0x4922 and the status reads 0x4925.
SimCommand commandForOpcode(uint8_t opcode, uint16_t version);

// The opcode of `command` for firmware `version`, or -1 when it has none.
int opcodeForCommand(SimCommand command, uint16_t version);

// Answered only after the access handshake of the same connection.
bool needsHandshake(SimCommand command);

// A short name for traces ("GetVersions").
const char* commandName(SimCommand command);

}  // namespace ravo::sim
