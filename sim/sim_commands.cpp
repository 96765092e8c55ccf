#include "sim/sim_commands.h"

namespace ravo::sim {
namespace {

constexpr int kNone = -1;
constexpr uint16_t kSecondMap = 0x4700;

struct Row {
    SimCommand command;
    int firstMap;   // opcode below 0x4700, or kNone
    int secondMap;  // opcode from 0x4700, or kNone
    bool handshake;
    const char* name;
};

// clang-format off
constexpr Row kTable[] = {
    {SimCommand::GetChallenge, 2, 2, false, "GetChallenge"},
    {SimCommand::SendResponse, 4, 4, false, "SendResponse"},
    {SimCommand::GetVersions, 5, 5, false, "GetVersions"},
    {SimCommand::GetVoltage, 22, 22, false, "GetVoltage"},
    {SimCommand::SetClock, 37, 37, false, "SetClock"},
    {SimCommand::EnterBootloader, 42, 42, false, "EnterBootloader"},
    {SimCommand::PowerDown, 57, 72, false, "PowerDown"},
    {SimCommand::GetDiveCount, 12, 12, false, "GetDiveCount"},
    {SimCommand::GetDiveInfo, 13, 13, false, "GetDiveInfo"},
    {SimCommand::GetDiveHeader, 14, 14, false, "GetDiveHeader"},
    {SimCommand::GetDiveData, 15, 15, false, "GetDiveData"},
    {SimCommand::GetRedboxCount, 75, 94, true, "GetRedboxCount"},
    {SimCommand::GetRedboxInfo, 76, 95, true, "GetRedboxInfo"},
    {SimCommand::GetRedboxHeader, 77, 96, true, "GetRedboxHeader"},
    {SimCommand::GetRedboxData, 78, 97, true, "GetRedboxData"},
    {SimCommand::GetBacklight, 7, 7, false, "GetBacklight"},
    {SimCommand::GetMetric, 9, 9, false, "GetMetric"},
    {SimCommand::GetDecimal, 11, 11, false, "GetDecimal"},
    {SimCommand::GetHighRes, 20, 20, false, "GetHighRes"},
    {SimCommand::GetSetpointSurface, 16, 16, false, "GetSetpointSurface"},
    {SimCommand::GetSetpointDepth, 17, 17, false, "GetSetpointDepth"},
    {SimCommand::GetVdotDamping, 21, 21, false, "GetVdotDamping"},
    {SimCommand::GetO2Sensor1, 23, 23, false, "GetO2Sensor1"},
    {SimCommand::GetO2Sensor2, 24, 24, false, "GetO2Sensor2"},
    {SimCommand::GetDilN2, 28, 28, false, "GetDilN2"},
    {SimCommand::GetDilHe, 29, 29, false, "GetDilHe"},
    {SimCommand::GetOxygenPart, 30, 30, false, "GetOxygenPart"},
    {SimCommand::GetOxygenSize, 31, 31, false, "GetOxygenSize"},
    {SimCommand::GetDilSize, 32, 32, false, "GetDilSize"},
    {SimCommand::GetRmv, 33, 33, false, "GetRmv"},
    {SimCommand::GetCounterLung, 35, 35, false, "GetCounterLung"},
    {SimCommand::GetHudBrightness, 40, 40, false, "GetHudBrightness"},
    {SimCommand::GetClock, 38, 38, false, "GetClock"},
    {SimCommand::GetTimeToFly, 41, 41, false, "GetTimeToFly"},
    {SimCommand::GetOxygenPressure, 82, 101, true, "GetOxygenPressure"},
    {SimCommand::GetDilPressure, 84, 103, true, "GetDilPressure"},
    {SimCommand::GetMouthpiece, 62, 76, true, "GetMouthpiece"},
    {SimCommand::GetDepthLimit, kNone, 46, true, "GetDepthLimit"},
    {SimCommand::GetDecoAvailable, kNone, 43, true, "GetDecoAvailable"},
    {SimCommand::GetDecoEnabled, kNone, 44, true, "GetDecoEnabled"},
    {SimCommand::GetMaxTts, kNone, 47, true, "GetMaxTts"},
    {SimCommand::GetBatterySerial, kNone, 48, true, "GetBatterySerial"},
    {SimCommand::GetServiceTime, kNone, 49, true, "GetServiceTime"},
    {SimCommand::GetSystemMode, kNone, 77, true, "GetSystemMode"},
    {SimCommand::GetModuleTypes, kNone, 50, true, "GetModuleTypes"},
    {SimCommand::GetOtu, kNone, 27, true, "GetOtu"},
    {SimCommand::SetBacklight, 6, 6, false, "SetBacklight"},
    {SimCommand::SetMetric, 8, 8, false, "SetMetric"},
    {SimCommand::SetDecimal, 10, 10, false, "SetDecimal"},
    {SimCommand::SetHudBrightness, 39, 39, false, "SetHudBrightness"},
    {SimCommand::SetSetpointSurface, 44, 52, false, "SetSetpointSurface"},
    {SimCommand::SetSetpointDepth, 45, 53, false, "SetSetpointDepth"},
    {SimCommand::SetDilSize, 54, 63, false, "SetDilSize"},
    {SimCommand::SetHighRes, 48, 56, true, "SetHighRes"},
    {SimCommand::SetOxygenPart, 52, 60, true, "SetOxygenPart"},
    {SimCommand::SetDilHe, 61, 61, true, "SetDilHe"},
    {SimCommand::SetDilN2, 51, 59, true, "SetDilN2"},
    {SimCommand::SetDilPressure, 85, 104, true, "SetDilPressure"},
    {SimCommand::SetDecoEnabled, kNone, 64, true, "SetDecoEnabled"},
    {SimCommand::SetMaxTts, kNone, 65, true, "SetMaxTts"},
    {SimCommand::SetServiceDate, 58, 73, true, "SetServiceDate"},
    {SimCommand::ResetTissues, 59, 74, true, "ResetTissues"},
    {SimCommand::ResetOtu, 60, 75, true, "ResetOtu"},
    {SimCommand::RecoveryWord, 86, 105, true, "RecoveryWord"},
    {SimCommand::RecoveryFlag, 92, 117, true, "RecoveryFlag"},
    {SimCommand::SetUnitNumber, 64, 83, true, "SetUnitNumber"},
};
// clang-format on

// Reads the unit gained after the second map began.
uint16_t firstVersionWith(SimCommand command)
{
    switch (command) {
    case SimCommand::GetServiceTime: return 0x4922;
    case SimCommand::GetSystemMode:
    case SimCommand::GetModuleTypes:
    case SimCommand::GetOtu: return 0x4925;
    default: return 0;
    }
}

int opcodeOf(const Row& row, uint16_t version)
{
    if (version < firstVersionWith(row.command))
        return kNone;
    return version >= kSecondMap ? row.secondMap : row.firstMap;
}

}  // namespace

SimCommand commandForOpcode(uint8_t opcode, uint16_t version)
{
    for (const Row& row : kTable)
        if (opcodeOf(row, version) == opcode)
            return row.command;
    return SimCommand::Unknown;
}

int opcodeForCommand(SimCommand command, uint16_t version)
{
    for (const Row& row : kTable)
        if (row.command == command)
            return opcodeOf(row, version);
    return kNone;
}

bool needsHandshake(SimCommand command)
{
    for (const Row& row : kTable)
        if (row.command == command)
            return row.handshake;
    return false;
}

const char* commandName(SimCommand command)
{
    for (const Row& row : kTable)
        if (row.command == command)
            return row.name;
    return "Unknown";
}

}  // namespace ravo::sim
