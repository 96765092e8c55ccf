#include <gtest/gtest.h>

#include "link/frame_format.h"
#include "link/link_trace.h"
#include "link/unit_commands.h"
#include "support/temp_dir.h"

namespace ravo {
namespace {

// The lines of the trace with their time stamps (24 characters) cut off.
std::vector<std::string> traceBodies(const std::string& path)
{
    std::vector<std::string> bodies;
    for (const std::string& line : test::splitLines(test::readFile(path)))
        bodies.push_back(line.size() > 24 ? line.substr(24) : line);
    return bodies;
}

TEST(LinkTrace, NamesFramesByTheOpcodeMapAndSplitsRepliesFromTheirPieces)
{
    test::TempDir dir;
    const std::string path = dir.file("trace.txt");
    {
        LinkTrace trace;
        std::string error;
        ASSERT_TRUE(trace.open(path, error)) << error;
        const uint8_t versions[] = {0xFA, 0x34, 0x12, 0x05, 0x00, 0x10, 0xFC};
        trace.sent(versions, sizeof versions, 0);
        // Noise, then an acknowledgement in two pieces.
        const uint8_t first[] = {0x00, 0xFA, 0x34, 0x12};
        const uint8_t second[] = {0x00, 0x00, 0x51, 0xFC};
        trace.received(first, sizeof first, 0);
        trace.received(second, sizeof second, 0);
        // Power down: 57 in the first map, 72 in the second.
        std::vector<uint8_t> off = buildFrame(0x1234, 72, reinterpret_cast<const uint8_t*>("\x01"), 1);
        trace.sent(off.data(), int(off.size()), 0x4700);
        const uint8_t garbage[] = {0xFA, 0x01, 0x02};
        trace.received(garbage, sizeof garbage, 0x4700);
        trace.note("close");
    }
    std::vector<std::string> lines = traceBodies(path);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "trace start");
    EXPECT_EQ(lines[1], "TX UNIT_CMD_GET_VERSIONS unit 1234 len 0 | FA 34 12 05 00 10 FC");
    EXPECT_EQ(lines[2], "RX ACK unit 1234 len 0 | 00 FA 34 12 00 00 51 FC");
    EXPECT_EQ(lines[3], "TX UNIT_CMD_POWER_DOWN unit 1234 len 1 | FA 34 12 48 01 01 75 FC");
    EXPECT_EQ(lines[4], "RX 3 bytes without a valid frame | FA 01 02");
    EXPECT_EQ(lines[5], "-- close");
}

TEST(LinkTrace, ShowsBootloaderChunksAndAnswers)
{
    test::TempDir dir;
    const std::string path = dir.file("trace.txt");
    {
        LinkTrace trace;
        std::string error;
        ASSERT_TRUE(trace.open(path, error));
        const uint8_t chunk[] = {0xAA, 0xBB, 0xCC};
        std::vector<uint8_t> wire = buildChunkFrame(chunk, sizeof chunk);
        trace.sent(wire.data(), int(wire.size()), 0x4925);
        const uint8_t answers[] = {0x44, 0x11};
        trace.received(answers, 1, 0x4925);
        trace.sent(wire.data(), int(wire.size()), 0x4925);
        trace.received(answers + 1, 1, 0x4925);
    }
    std::vector<std::string> lines = traceBodies(path);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1], "TX BOOTLOADER_CHUNK 1 len 3 | 00 03 AA BB CC");
    EXPECT_EQ(lines[2], "RX BOOTLOADER_ANSWER 44 error in chunk");
    EXPECT_EQ(lines[3], "TX BOOTLOADER_CHUNK 2 len 3 | 00 03 AA BB CC");
    EXPECT_EQ(lines[4], "RX BOOTLOADER_ANSWER 11 accepted");
}

TEST(LinkTrace, ACommandOpcodeSharedInTheFirstMapNamesBoth)
{
    std::vector<UnitCommand> shared = commandsWithOpcode(77, 0x4512);
    ASSERT_EQ(shared.size(), 2u);
    EXPECT_STREQ(unitCommandName(shared[0]), "UNIT_CMD_GET_REDBOX_HEADER");
    EXPECT_STREQ(unitCommandName(shared[1]), "UNIT_CMD_GET_SYSTEM_MODE");
    EXPECT_EQ(commandsWithOpcode(77, 0x4700).size(), 1u);
}

}  // namespace
}  // namespace ravo
