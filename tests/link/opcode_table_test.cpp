// Both opcode maps, written out here from the command tables on their own
// (not copied from the code's table), including the second-map-only commands.
#include <gtest/gtest.h>

#include <set>

#include "link/unit_commands.h"
#include "tests/link/link_fixture.h"

namespace ravo::test {
namespace {

constexpr int kDash = -1;

struct OpcodeRow {
    UnitCommand command;
    const char* name;
    int firstMap;
    int secondMap;
};

const OpcodeRow kRows[] = {
    // System and access
    {UNIT_CMD_GET_CHALLENGE, "GET_CHALLENGE", 2, 2},
    {UNIT_CMD_SEND_RESPONSE, "SEND_RESPONSE", 4, 4},
    {UNIT_CMD_GET_VERSIONS, "GET_VERSIONS", 5, 5},
    {UNIT_CMD_GET_VOLTAGE, "GET_VOLTAGE", 22, 22},
    {UNIT_CMD_SET_CLOCK, "SET_CLOCK", 37, 37},
    {UNIT_CMD_ENTER_BOOTLOADER, "ENTER_BOOTLOADER", 42, 42},
    {UNIT_CMD_POWER_DOWN, "POWER_DOWN", 57, 72},
    // Logs
    {UNIT_CMD_GET_DIVE_COUNT, "GET_DIVE_COUNT", 12, 12},
    {UNIT_CMD_GET_DIVE_INFO, "GET_DIVE_INFO", 13, 13},
    {UNIT_CMD_GET_DIVE_HEADER, "GET_DIVE_HEADER", 14, 14},
    {UNIT_CMD_GET_DIVE_DATA, "GET_DIVE_DATA", 15, 15},
    {UNIT_CMD_GET_REDBOX_COUNT, "GET_REDBOX_COUNT", 75, 94},
    {UNIT_CMD_GET_REDBOX_INFO, "GET_REDBOX_INFO", 76, 95},
    {UNIT_CMD_GET_REDBOX_HEADER, "GET_REDBOX_HEADER", 77, 96},
    {UNIT_CMD_GET_REDBOX_DATA, "GET_REDBOX_DATA", 78, 97},
    // Setting reads
    {UNIT_CMD_GET_BACKLIGHT, "GET_BACKLIGHT", 7, 7},
    {UNIT_CMD_GET_METRIC, "GET_METRIC", 9, 9},
    {UNIT_CMD_GET_DECIMAL, "GET_DECIMAL", 11, 11},
    {UNIT_CMD_GET_HIGH_RES, "GET_HIGH_RES", 20, 20},
    {UNIT_CMD_GET_SETPOINT_SURFACE, "GET_SETPOINT_SURFACE", 16, 16},
    {UNIT_CMD_GET_SETPOINT_DEPTH, "GET_SETPOINT_DEPTH", 17, 17},
    {UNIT_CMD_GET_VDOT_DAMPING, "GET_VDOT_DAMPING", 21, 21},
    {UNIT_CMD_GET_O2_SENSOR1, "GET_O2_SENSOR1", 23, 23},
    {UNIT_CMD_GET_O2_SENSOR2, "GET_O2_SENSOR2", 24, 24},
    {UNIT_CMD_GET_DIL_N2, "GET_DIL_N2", 28, 28},
    {UNIT_CMD_GET_DIL_HE, "GET_DIL_HE", 29, 29},
    {UNIT_CMD_GET_OXYGEN_PART, "GET_OXYGEN_PART", 30, 30},
    {UNIT_CMD_GET_OXYGEN_SIZE, "GET_OXYGEN_SIZE", 31, 31},
    {UNIT_CMD_GET_DIL_SIZE, "GET_DIL_SIZE", 32, 32},
    {UNIT_CMD_GET_RMV, "GET_RMV", 33, 33},
    {UNIT_CMD_GET_COUNTER_LUNG, "GET_COUNTER_LUNG", 35, 35},
    {UNIT_CMD_GET_HUD_BRIGHTNESS, "GET_HUD_BRIGHTNESS", 40, 40},
    {UNIT_CMD_GET_CLOCK, "GET_CLOCK", 38, 38},
    {UNIT_CMD_GET_TIME_TO_FLY, "GET_TIME_TO_FLY", 41, 41},
    {UNIT_CMD_GET_OXYGEN_PRESSURE, "GET_OXYGEN_PRESSURE", 82, 101},
    {UNIT_CMD_GET_DIL_PRESSURE, "GET_DIL_PRESSURE", 84, 103},
    {UNIT_CMD_GET_MOUTHPIECE, "GET_MOUTHPIECE", 62, 76},
    {UNIT_CMD_GET_DEPTH_LIMIT, "GET_DEPTH_LIMIT", kDash, 46},
    {UNIT_CMD_GET_DECO_AVAILABLE, "GET_DECO_AVAILABLE", kDash, 43},
    {UNIT_CMD_GET_DECO_ENABLED, "GET_DECO_ENABLED", kDash, 44},
    {UNIT_CMD_GET_MAX_TTS, "GET_MAX_TTS", kDash, 47},
    {UNIT_CMD_GET_BATTERY_SR, "GET_BATTERY_SR", kDash, 48},
    {UNIT_CMD_GET_SERVICE_TIME, "GET_SERVICE_TIME", 49, 49},
    {UNIT_CMD_GET_SYSTEM_MODE, "GET_SYSTEM_MODE", 77, 77},
    {UNIT_CMD_GET_MODULE_TYPES, "GET_MODULE_TYPES", 50, 50},
    {UNIT_CMD_GET_OTU, "GET_OTU", 27, 27},
    // Setting writes
    {UNIT_CMD_SET_BACKLIGHT, "SET_BACKLIGHT", 6, 6},
    {UNIT_CMD_SET_METRIC, "SET_METRIC", 8, 8},
    {UNIT_CMD_SET_DECIMAL, "SET_DECIMAL", 10, 10},
    {UNIT_CMD_SET_HUD_BRIGHTNESS, "SET_HUD_BRIGHTNESS", 39, 39},
    {UNIT_CMD_SET_SETPOINT_SURFACE, "SET_SETPOINT_SURFACE", 44, 52},
    {UNIT_CMD_SET_SETPOINT_DEPTH, "SET_SETPOINT_DEPTH", 45, 53},
    {UNIT_CMD_SET_DIL_SIZE, "SET_DIL_SIZE", 54, 63},
    {UNIT_CMD_SET_HIGH_RES, "SET_HIGH_RES", 48, 56},
    {UNIT_CMD_SET_OXYGEN_PART, "SET_OXYGEN_PART", 52, 60},
    {UNIT_CMD_SET_DIL_HE, "SET_DIL_HE", 61, 61},
    {UNIT_CMD_SET_DIL_N2, "SET_DIL_N2", 51, 59},
    {UNIT_CMD_SET_DIL_PRESSURE, "SET_DIL_PRESSURE", 85, 104},
    {UNIT_CMD_SET_DECO_ENABLED, "SET_DECO_ENABLED", kDash, 64},
    {UNIT_CMD_SET_MAX_TTS, "SET_MAX_TTS", kDash, 65},
    {UNIT_CMD_SET_SERVICE_DATE, "SET_SERVICE_DATE", 58, 73},
    {UNIT_CMD_RESET_TISSUES, "RESET_TISSUES", 59, 74},
    {UNIT_CMD_RESET_OTU, "RESET_OTU", 60, 75},
    // Recovery
    {UNIT_CMD_RECOVERY_WORD, "RECOVERY_WORD", 86, 105},
    {UNIT_CMD_RECOVERY_FLAG, "RECOVERY_FLAG", 92, 117},
    {UNIT_CMD_SET_UNIT_NUMBER, "SET_UNIT_NUMBER", 64, 83},
};

TEST(UnitOpcode, EveryCommandIsListedOnce)
{
    std::set<int> seen;
    for (const OpcodeRow& row : kRows)
        EXPECT_TRUE(seen.insert(row.command).second) << row.name;
    EXPECT_EQ(seen.size(), size_t(UNIT_CMD_COUNT));
}

TEST(UnitOpcode, FirstMapBelow0x4700)
{
    for (uint32_t version : {0x0000u, 0x4100u, 0x4303u, 0x46FFu}) {
        for (const OpcodeRow& row : kRows)
            EXPECT_EQ(unitOpcode(row.command, version), row.firstMap) << row.name << " at " << std::hex << version;
    }
}

TEST(UnitOpcode, SecondMapFrom0x4700)
{
    for (uint32_t version : {0x4700u, 0x4922u, 0x4925u, 0xFFFFu, 0x10000u}) {
        for (const OpcodeRow& row : kRows)
            EXPECT_EQ(unitOpcode(row.command, version), row.secondMap) << row.name << " at " << std::hex << version;
    }
}

TEST(UnitOpcode, UnknownCommandHasNoOpcode)
{
    EXPECT_EQ(unitOpcode(UNIT_CMD_COUNT, 0x4700), -1);
    EXPECT_EQ(unitOpcode(UnitCommand(-1), 0), -1);
}

TEST_F(LinkTest, PowerDownUsesTheOpcodeOfTheUnitsMap)
{
    peer->queueBytes(replyFrame(0x1234, 0));
    peer->queueBytes(replyFrame(0x1234, 0));
    link->unitFirmwareVersion = 0x46FF;
    EXPECT_EQ(link->PowerDown(), 1);
    link->unitFirmwareVersion = 0x4700;
    EXPECT_EQ(link->PowerDown(), 1);
    const auto sent = requests();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].opcode, 57);
    EXPECT_EQ(sent[1].opcode, 72);
    EXPECT_EQ(sent[0].payload, std::vector<uint8_t>{1});
}

TEST_F(LinkTest, SecondMapOnlyCommandsAreNeverSentToAFirstMapUnit)
{
    link->unitFirmwareVersion = 0x46FF;
    double metres = 5;
    bool flag = true;
    int minutes = 3;
    uint16_t serial = 9;
    EXPECT_EQ(link->GetDepthLimit(metres), 0);
    EXPECT_EQ(link->GetDecoAvailable(flag), 0);
    EXPECT_EQ(link->GetDecoEnabled(flag), 0);
    EXPECT_EQ(link->GetMaxTts(minutes), 0);
    EXPECT_EQ(link->GetBatterySerial(serial), 0);
    EXPECT_EQ(link->SetDecoEnabled(true), 0);
    EXPECT_EQ(link->SetMaxTts(20), 0);
    EXPECT_EQ(metres, 0);
    EXPECT_EQ(serial, 0);
    EXPECT_TRUE(peer->receivedBytes().empty());
}

}  // namespace
}  // namespace ravo::test
