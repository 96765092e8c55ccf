#include "link/unit_commands.h"

namespace ravo {
namespace {

constexpr int kNone = -1;

struct OpcodePair {
    UnitCommand command;
    int firstMap;   // units below 0x4700; kNone when they lack the command
    int secondMap;  // units from 0x4700
};

constexpr OpcodePair kOpcodes[] = {
    {UNIT_CMD_GET_CHALLENGE, 2, 2},
    {UNIT_CMD_SEND_RESPONSE, 4, 4},
    {UNIT_CMD_GET_VERSIONS, 5, 5},
    {UNIT_CMD_GET_VOLTAGE, 22, 22},
    {UNIT_CMD_SET_CLOCK, 37, 37},
    {UNIT_CMD_ENTER_BOOTLOADER, 42, 42},
    {UNIT_CMD_POWER_DOWN, 57, 72},
    {UNIT_CMD_GET_DIVE_COUNT, 12, 12},
    {UNIT_CMD_GET_DIVE_INFO, 13, 13},
    {UNIT_CMD_GET_DIVE_HEADER, 14, 14},
    {UNIT_CMD_GET_DIVE_DATA, 15, 15},
    {UNIT_CMD_GET_REDBOX_COUNT, 75, 94},
    {UNIT_CMD_GET_REDBOX_INFO, 76, 95},
    {UNIT_CMD_GET_REDBOX_HEADER, 77, 96},
    {UNIT_CMD_GET_REDBOX_DATA, 78, 97},
    {UNIT_CMD_GET_BACKLIGHT, 7, 7},
    {UNIT_CMD_GET_METRIC, 9, 9},
    {UNIT_CMD_GET_DECIMAL, 11, 11},
    {UNIT_CMD_GET_HIGH_RES, 20, 20},
    {UNIT_CMD_GET_SETPOINT_SURFACE, 16, 16},
    {UNIT_CMD_GET_SETPOINT_DEPTH, 17, 17},
    {UNIT_CMD_GET_VDOT_DAMPING, 21, 21},
    {UNIT_CMD_GET_O2_SENSOR1, 23, 23},
    {UNIT_CMD_GET_O2_SENSOR2, 24, 24},
    {UNIT_CMD_GET_DIL_N2, 28, 28},
    {UNIT_CMD_GET_DIL_HE, 29, 29},
    {UNIT_CMD_GET_OXYGEN_PART, 30, 30},
    {UNIT_CMD_GET_OXYGEN_SIZE, 31, 31},
    {UNIT_CMD_GET_DIL_SIZE, 32, 32},
    {UNIT_CMD_GET_RMV, 33, 33},
    {UNIT_CMD_GET_COUNTER_LUNG, 35, 35},
    {UNIT_CMD_GET_HUD_BRIGHTNESS, 40, 40},
    {UNIT_CMD_GET_CLOCK, 38, 38},
    {UNIT_CMD_GET_TIME_TO_FLY, 41, 41},
    {UNIT_CMD_GET_OXYGEN_PRESSURE, 82, 101},
    {UNIT_CMD_GET_DIL_PRESSURE, 84, 103},
    {UNIT_CMD_GET_MOUTHPIECE, 62, 76},
    {UNIT_CMD_GET_DEPTH_LIMIT, kNone, 46},
    {UNIT_CMD_GET_DECO_AVAILABLE, kNone, 43},
    {UNIT_CMD_GET_DECO_ENABLED, kNone, 44},
    {UNIT_CMD_GET_MAX_TTS, kNone, 47},
    {UNIT_CMD_GET_BATTERY_SR, kNone, 48},
    {UNIT_CMD_GET_SERVICE_TIME, 49, 49},
    {UNIT_CMD_GET_SYSTEM_MODE, 77, 77},
    {UNIT_CMD_GET_MODULE_TYPES, 50, 50},
    {UNIT_CMD_GET_OTU, 27, 27},
    {UNIT_CMD_SET_BACKLIGHT, 6, 6},
    {UNIT_CMD_SET_METRIC, 8, 8},
    {UNIT_CMD_SET_DECIMAL, 10, 10},
    {UNIT_CMD_SET_HUD_BRIGHTNESS, 39, 39},
    {UNIT_CMD_SET_SETPOINT_SURFACE, 44, 52},
    {UNIT_CMD_SET_SETPOINT_DEPTH, 45, 53},
    {UNIT_CMD_SET_DIL_SIZE, 54, 63},
    {UNIT_CMD_SET_HIGH_RES, 48, 56},
    {UNIT_CMD_SET_OXYGEN_PART, 52, 60},
    {UNIT_CMD_SET_DIL_HE, 61, 61},
    {UNIT_CMD_SET_DIL_N2, 51, 59},
    {UNIT_CMD_SET_DIL_PRESSURE, 85, 104},
    {UNIT_CMD_SET_DECO_ENABLED, kNone, 64},
    {UNIT_CMD_SET_MAX_TTS, kNone, 65},
    {UNIT_CMD_SET_SERVICE_DATE, 58, 73},
    {UNIT_CMD_RESET_TISSUES, 59, 74},
    {UNIT_CMD_RESET_OTU, 60, 75},
    {UNIT_CMD_RECOVERY_WORD, 86, 105},
    {UNIT_CMD_RECOVERY_FLAG, 92, 117},
    {UNIT_CMD_SET_UNIT_NUMBER, 64, 83},
};

static_assert(sizeof kOpcodes / sizeof kOpcodes[0] == UNIT_CMD_COUNT, "every command has its opcodes");

constexpr bool inEnumOrder()
{
    for (int i = 0; i < UNIT_CMD_COUNT; ++i)
        if (kOpcodes[i].command != i)
            return false;
    return true;
}
static_assert(inEnumOrder(), "the table is indexed by command");

// The names the trace and the messages use, in enum order.
constexpr const char* kNames[] = {
    "UNIT_CMD_GET_CHALLENGE",
    "UNIT_CMD_SEND_RESPONSE",
    "UNIT_CMD_GET_VERSIONS",
    "UNIT_CMD_GET_VOLTAGE",
    "UNIT_CMD_SET_CLOCK",
    "UNIT_CMD_ENTER_BOOTLOADER",
    "UNIT_CMD_POWER_DOWN",
    "UNIT_CMD_GET_DIVE_COUNT",
    "UNIT_CMD_GET_DIVE_INFO",
    "UNIT_CMD_GET_DIVE_HEADER",
    "UNIT_CMD_GET_DIVE_DATA",
    "UNIT_CMD_GET_REDBOX_COUNT",
    "UNIT_CMD_GET_REDBOX_INFO",
    "UNIT_CMD_GET_REDBOX_HEADER",
    "UNIT_CMD_GET_REDBOX_DATA",
    "UNIT_CMD_GET_BACKLIGHT",
    "UNIT_CMD_GET_METRIC",
    "UNIT_CMD_GET_DECIMAL",
    "UNIT_CMD_GET_HIGH_RES",
    "UNIT_CMD_GET_SETPOINT_SURFACE",
    "UNIT_CMD_GET_SETPOINT_DEPTH",
    "UNIT_CMD_GET_VDOT_DAMPING",
    "UNIT_CMD_GET_O2_SENSOR1",
    "UNIT_CMD_GET_O2_SENSOR2",
    "UNIT_CMD_GET_DIL_N2",
    "UNIT_CMD_GET_DIL_HE",
    "UNIT_CMD_GET_OXYGEN_PART",
    "UNIT_CMD_GET_OXYGEN_SIZE",
    "UNIT_CMD_GET_DIL_SIZE",
    "UNIT_CMD_GET_RMV",
    "UNIT_CMD_GET_COUNTER_LUNG",
    "UNIT_CMD_GET_HUD_BRIGHTNESS",
    "UNIT_CMD_GET_CLOCK",
    "UNIT_CMD_GET_TIME_TO_FLY",
    "UNIT_CMD_GET_OXYGEN_PRESSURE",
    "UNIT_CMD_GET_DIL_PRESSURE",
    "UNIT_CMD_GET_MOUTHPIECE",
    "UNIT_CMD_GET_DEPTH_LIMIT",
    "UNIT_CMD_GET_DECO_AVAILABLE",
    "UNIT_CMD_GET_DECO_ENABLED",
    "UNIT_CMD_GET_MAX_TTS",
    "UNIT_CMD_GET_BATTERY_SR",
    "UNIT_CMD_GET_SERVICE_TIME",
    "UNIT_CMD_GET_SYSTEM_MODE",
    "UNIT_CMD_GET_MODULE_TYPES",
    "UNIT_CMD_GET_OTU",
    "UNIT_CMD_SET_BACKLIGHT",
    "UNIT_CMD_SET_METRIC",
    "UNIT_CMD_SET_DECIMAL",
    "UNIT_CMD_SET_HUD_BRIGHTNESS",
    "UNIT_CMD_SET_SETPOINT_SURFACE",
    "UNIT_CMD_SET_SETPOINT_DEPTH",
    "UNIT_CMD_SET_DIL_SIZE",
    "UNIT_CMD_SET_HIGH_RES",
    "UNIT_CMD_SET_OXYGEN_PART",
    "UNIT_CMD_SET_DIL_HE",
    "UNIT_CMD_SET_DIL_N2",
    "UNIT_CMD_SET_DIL_PRESSURE",
    "UNIT_CMD_SET_DECO_ENABLED",
    "UNIT_CMD_SET_MAX_TTS",
    "UNIT_CMD_SET_SERVICE_DATE",
    "UNIT_CMD_RESET_TISSUES",
    "UNIT_CMD_RESET_OTU",
    "UNIT_CMD_RECOVERY_WORD",
    "UNIT_CMD_RECOVERY_FLAG",
    "UNIT_CMD_SET_UNIT_NUMBER",
};

static_assert(sizeof kNames / sizeof kNames[0] == UNIT_CMD_COUNT, "every command has its name");

}  // namespace

const char* unitCommandName(UnitCommand command)
{
    return command >= 0 && command < UNIT_CMD_COUNT ? kNames[command] : "UNIT_CMD_UNKNOWN";
}

std::vector<UnitCommand> commandsWithOpcode(int opcode, uint32_t version)
{
    std::vector<UnitCommand> found;
    for (int c = 0; c < UNIT_CMD_COUNT; ++c)
        if (unitOpcode(UnitCommand(c), version) == opcode)
            found.push_back(UnitCommand(c));
    return found;
}

int unitOpcode(UnitCommand command, uint32_t version)
{
    if (command < 0 || command >= UNIT_CMD_COUNT)
        return kNone;
    const OpcodePair& pair = kOpcodes[command];
    return version >= kSecondMapVersion ? pair.secondMap : pair.firstMap;
}

}  // namespace ravo
