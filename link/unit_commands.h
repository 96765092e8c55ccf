#pragma once
#include <cstdint>
#include <vector>

namespace ravo {

// Every command the link sends to the unit. The opcode depends on the unit's
// firmware generation: below 0x4700 the first map, from 0x4700 the second.
enum UnitCommand : int {
    UNIT_CMD_GET_CHALLENGE,
    UNIT_CMD_SEND_RESPONSE,
    UNIT_CMD_GET_VERSIONS,
    UNIT_CMD_GET_VOLTAGE,
    UNIT_CMD_SET_CLOCK,
    UNIT_CMD_ENTER_BOOTLOADER,
    UNIT_CMD_POWER_DOWN,
    UNIT_CMD_GET_DIVE_COUNT,
    UNIT_CMD_GET_DIVE_INFO,
    UNIT_CMD_GET_DIVE_HEADER,
    UNIT_CMD_GET_DIVE_DATA,
    UNIT_CMD_GET_REDBOX_COUNT,
    UNIT_CMD_GET_REDBOX_INFO,
    UNIT_CMD_GET_REDBOX_HEADER,
    UNIT_CMD_GET_REDBOX_DATA,
    UNIT_CMD_GET_BACKLIGHT,
    UNIT_CMD_GET_METRIC,
    UNIT_CMD_GET_DECIMAL,
    UNIT_CMD_GET_HIGH_RES,
    UNIT_CMD_GET_SETPOINT_SURFACE,
    UNIT_CMD_GET_SETPOINT_DEPTH,
    UNIT_CMD_GET_VDOT_DAMPING,
    UNIT_CMD_GET_O2_SENSOR1,
    UNIT_CMD_GET_O2_SENSOR2,
    UNIT_CMD_GET_DIL_N2,
    UNIT_CMD_GET_DIL_HE,
    UNIT_CMD_GET_OXYGEN_PART,
    UNIT_CMD_GET_OXYGEN_SIZE,
    UNIT_CMD_GET_DIL_SIZE,
    UNIT_CMD_GET_RMV,
    UNIT_CMD_GET_COUNTER_LUNG,
    UNIT_CMD_GET_HUD_BRIGHTNESS,
    UNIT_CMD_GET_CLOCK,
    UNIT_CMD_GET_TIME_TO_FLY,
    UNIT_CMD_GET_OXYGEN_PRESSURE,
    UNIT_CMD_GET_DIL_PRESSURE,
    UNIT_CMD_GET_MOUTHPIECE,
    UNIT_CMD_GET_DEPTH_LIMIT,
    UNIT_CMD_GET_DECO_AVAILABLE,
    UNIT_CMD_GET_DECO_ENABLED,
    UNIT_CMD_GET_MAX_TTS,
    UNIT_CMD_GET_BATTERY_SR,
    UNIT_CMD_GET_SERVICE_TIME,
    UNIT_CMD_GET_SYSTEM_MODE,
    UNIT_CMD_GET_MODULE_TYPES,
    UNIT_CMD_GET_OTU,
    UNIT_CMD_SET_BACKLIGHT,
    UNIT_CMD_SET_METRIC,
    UNIT_CMD_SET_DECIMAL,
    UNIT_CMD_SET_HUD_BRIGHTNESS,
    UNIT_CMD_SET_SETPOINT_SURFACE,
    UNIT_CMD_SET_SETPOINT_DEPTH,
    UNIT_CMD_SET_DIL_SIZE,
    UNIT_CMD_SET_HIGH_RES,
    UNIT_CMD_SET_OXYGEN_PART,
    UNIT_CMD_SET_DIL_HE,
    UNIT_CMD_SET_DIL_N2,
    UNIT_CMD_SET_DIL_PRESSURE,
    UNIT_CMD_SET_DECO_ENABLED,
    UNIT_CMD_SET_MAX_TTS,
    UNIT_CMD_SET_SERVICE_DATE,
    UNIT_CMD_RESET_TISSUES,
    UNIT_CMD_RESET_OTU,
    UNIT_CMD_RECOVERY_WORD,
    UNIT_CMD_RECOVERY_FLAG,
    UNIT_CMD_SET_UNIT_NUMBER,
    UNIT_CMD_COUNT
};

// The first firmware version that uses the second opcode map.
inline constexpr uint32_t kSecondMapVersion = 0x4700;

// The opcode of `command` for a unit of firmware `version`, or -1 when the
// command does not exist in that unit's map.
int unitOpcode(UnitCommand command, uint32_t version);

// "UNIT_CMD_GET_VERSIONS" for UNIT_CMD_GET_VERSIONS.
const char* unitCommandName(UnitCommand command);

// The commands sent with `opcode` to a unit of firmware `version` (the first
// map has opcodes that two commands share).
std::vector<UnitCommand> commandsWithOpcode(int opcode, uint32_t version);

// The fixed value UNIT_CMD_RECOVERY_WORD carries (sent low byte first).
inline constexpr uint16_t kRecoveryWord = 0x7E81;

// Opcodes of replies that are not the request's own opcode.
inline constexpr uint8_t kAckOpcode = 0;        // every write is acknowledged with it
inline constexpr uint8_t kChallengeOpcode = 3;  // answers UNIT_CMD_GET_CHALLENGE

}  // namespace ravo
