#include <gtest/gtest.h>

#include "link/clock.h"
#include "link/frame_format.h"
#include "sim/sim_firmware_image.h"
#include "sim/sim_presets.h"
#include "sim/sim_unit.h"
#include "support/sim_exchange.h"

namespace ravo::sim {
namespace {

using test::simExchange;
using test::simHandshake;
using test::SimReply;

SimState unitOf(uint16_t version, uint16_t unitNumber = 0x1234)
{
    return generatedUnit(version, {30, 100}, 2, 1, unitNumber);
}

uint32_t word(const std::vector<uint8_t>& p, size_t at = 0) { return uint32_t(p.at(at) | p.at(at + 1) << 8); }
uint32_t dword(const std::vector<uint8_t>& p, size_t at = 0) { return word(p, at) | word(p, at + 2) << 16; }

TEST(SimUnitAnswers, VersionsCarryMainAndBetaInBytes9And8)
{
    SimUnit unit(unitOf(0x4925));
    SimReply r = simExchange(unit, 0x1234, 5);
    ASSERT_TRUE(r.valid);
    EXPECT_EQ(r.opcode, 5);
    EXPECT_EQ(r.unitNumber, 0x1234);
    ASSERT_EQ(r.payload.size(), 15u);
    EXPECT_EQ(r.payload[8], 0x25);
    EXPECT_EQ(r.payload[9], 0x49);
}

TEST(SimUnitAnswers, FramesForAnotherUnitOrUnknownOpcodesGetNoAnswer)
{
    SimUnit unit(unitOf(0x4925));
    EXPECT_FALSE(simExchange(unit, 0x4321, 5).valid);
    EXPECT_FALSE(simExchange(unit, 0x1234, 200).valid);
    SimUnit old(unitOf(0x4512));
    ASSERT_TRUE(simHandshake(old, 0x1234, 0x4512));
    EXPECT_FALSE(simExchange(old, 0x1234, 46).valid) << "depth limit is second map only";
    EXPECT_FALSE(simExchange(old, 0x1234, 64, {1}).valid) << "deco enable is second map only";
}

TEST(SimUnitAnswers, SettingReadsInRawEncoding)
{
    SimState s = unitOf(0x4925);
    s.settings.setpointSurface = 70;
    s.settings.oxygenSize = 30;
    s.settings.hudBrightness = 3;
    s.batteryMillivolts = 3950;
    SimUnit unit(s);
    struct Row {
        uint8_t opcode;
        std::vector<uint8_t> payload;
    };
    const Row rows[] = {
        {7, {204, 64}}, {9, {1}}, {16, {70, 0}}, {31, {30}}, {40, {3, 0}}, {22, {0x6E, 0x0F}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(int(row.opcode));
        SimReply r = simExchange(unit, 0x1234, row.opcode);
        ASSERT_TRUE(r.valid);
        EXPECT_EQ(r.opcode, row.opcode);
        EXPECT_EQ(r.payload, row.payload);
    }
}

TEST(SimUnitAnswers, WritesAreAcknowledgedAndReadBack)
{
    SimUnit unit(unitOf(0x4925));
    SimReply ack = simExchange(unit, 0x1234, 6, {127, 63});
    ASSERT_TRUE(ack.valid);
    EXPECT_EQ(ack.opcode, 0);
    EXPECT_EQ(simExchange(unit, 0x1234, 7).payload, (std::vector<uint8_t>{127, 63}));

    EXPECT_EQ(simExchange(unit, 0x1234, 52, {114, 0}).opcode, 0);  // setpoint surface, second map
    EXPECT_EQ(word(simExchange(unit, 0x1234, 16).payload), 114u);

    EXPECT_EQ(simExchange(unit, 0x1234, 37, {0x10, 0x20, 0x30, 0x31}).opcode, 0);
    EXPECT_EQ(dword(simExchange(unit, 0x1234, 38).payload), 0x31302010u);
    EXPECT_EQ(unit.state().clock, 0x31302010u);

    // A short write payload is not acknowledged and changes nothing.
    EXPECT_FALSE(simExchange(unit, 0x1234, 39, {2}).valid);
}

TEST(SimUnitAnswers, ProtectedCommandsNeedTheHandshakeOfThisConnection)
{
    SimUnit unit(unitOf(0x4925));
    unit.connectionOpened();
    EXPECT_FALSE(simExchange(unit, 0x1234, 94).valid) << "redbox count";
    EXPECT_FALSE(simExchange(unit, 0x1234, 60, {50, 0}).valid) << "oxygen part write";
    ASSERT_TRUE(simHandshake(unit, 0x1234, 0x4925));
    SimReply count = simExchange(unit, 0x1234, 94);
    ASSERT_TRUE(count.valid);
    EXPECT_EQ(word(count.payload), 2u);
    EXPECT_EQ(simExchange(unit, 0x1234, 60, {50, 0}).opcode, 0);
    EXPECT_EQ(unit.state().settings.oxygenPercent, 50);

    unit.connectionClosed();
    unit.connectionOpened();
    EXPECT_FALSE(simExchange(unit, 0x1234, 94).valid) << "a new connection starts locked";
}

TEST(SimUnitAnswers, HandshakeWithEveryVariant)
{
    for (uint16_t version : {0x4005, 0x4100, 0x4101, 0x4302, 0x4303, 0x46FF, 0x4700, 0x4925}) {
        SCOPED_TRACE(version);
        SimUnit unit(unitOf(version));
        EXPECT_TRUE(simHandshake(unit, 0x1234, version));
        SimUnit other(unitOf(version));
        // A response computed for another family is refused without an answer.
        uint16_t wrong = version >= 0x4700 ? 0x4512 : 0x4925;
        EXPECT_FALSE(simHandshake(other, 0x1234, wrong));
    }
}

TEST(SimUnitAnswers, ChallengesAreFresh)
{
    SimUnit unit(unitOf(0x4925));
    SimReply a = simExchange(unit, 0x1234, 2, {4});
    SimReply b = simExchange(unit, 0x1234, 2, {4});
    ASSERT_TRUE(a.valid && b.valid);
    EXPECT_EQ(a.opcode, 3);
    EXPECT_EQ(a.payload.size(), 4u);
    EXPECT_NE(a.payload, b.payload);
    // A response without a challenge is not acknowledged.
    EXPECT_FALSE(simExchange(unit, 0x1234, 4, {1, 2, 3, 4}).valid);
}

TEST(SimUnitLogs, DirectoryHeaderAndData)
{
    SimState s = unitOf(0x4925);
    SimUnit unit(s);
    EXPECT_EQ(word(simExchange(unit, 0x1234, 12).payload), 2u);
    SimReply info = simExchange(unit, 0x1234, 13, {1, 0});
    ASSERT_EQ(info.payload.size(), 10u);
    EXPECT_EQ(dword(info.payload), s.diveLogs[1].startTime);
    EXPECT_EQ(dword(info.payload, 4), 100u);
    EXPECT_EQ(word(info.payload, 8), s.diveLogs[1].auxWord);
    EXPECT_FALSE(simExchange(unit, 0x1234, 13, {2, 0}).valid) << "no such log";

    SimReply first = simExchange(unit, 0x1234, 14, {1, 0, 0, 0});
    SimReply second = simExchange(unit, 0x1234, 14, {1, 0, 200, 0});
    SimReply beyond = simExchange(unit, 0x1234, 14, {1, 0, 0, 1});
    ASSERT_EQ(first.payload.size(), 200u);
    ASSERT_EQ(second.payload.size(), 56u);
    EXPECT_TRUE(beyond.valid);
    EXPECT_TRUE(beyond.payload.empty());
    EXPECT_TRUE(std::equal(first.payload.begin(), first.payload.end(), s.diveLogs[1].header.begin()));
    EXPECT_TRUE(std::equal(second.payload.begin(), second.payload.end(), s.diveLogs[1].header.begin() + 200));

    // Data reads follow the log last asked for: 25 records, then the rest.
    SimReply block = simExchange(unit, 0x1234, 15, {0, 0, 0, 0});
    ASSERT_EQ(block.payload.size(), 100u);
    EXPECT_TRUE(std::equal(block.payload.begin(), block.payload.end(), s.diveLogs[1].records.begin()));
    SimReply tail = simExchange(unit, 0x1234, 15, {90, 0, 0, 0});
    EXPECT_EQ(tail.payload.size(), 40u);
    EXPECT_TRUE(simExchange(unit, 0x1234, 15, {100, 0, 0, 0}).payload.empty());
}

TEST(SimUnitLogs, RedboxCommandsUseTheFirstMapBelow4700)
{
    SimUnit unit(unitOf(0x4512));
    ASSERT_TRUE(simHandshake(unit, 0x1234, 0x4512));
    EXPECT_EQ(word(simExchange(unit, 0x1234, 75).payload), 2u);
    EXPECT_EQ(simExchange(unit, 0x1234, 76, {0, 0}).payload.size(), 10u);
    EXPECT_EQ(simExchange(unit, 0x1234, 77, {0, 0, 0, 0}).payload.size(), 200u);
    EXPECT_EQ(simExchange(unit, 0x1234, 78, {0, 0, 0, 0}).payload.size(), 100u);
}

TEST(SimUnitRecovery, NumberChangesWhenThePoweredDownUnitComesBack)
{
    ManualClock clock;
    SimState s;
    ASSERT_TRUE(presetState("lost-number", s));
    SimUnit unit(s);
    unit.setClock(&clock);
    unit.connectionOpened();
    ASSERT_TRUE(simHandshake(unit, 0xFFFF, 0x4925));
    // The unit number write counts only after the recovery word and flag.
    EXPECT_FALSE(simExchange(unit, 0xFFFF, 83, {0x34, 0x12}).valid);
    EXPECT_FALSE(simExchange(unit, 0xFFFF, 105, {0x7E, 0x81}).valid) << "wrong byte order";
    EXPECT_EQ(simExchange(unit, 0xFFFF, 105, {0x81, 0x7E}).opcode, 0);
    EXPECT_EQ(simExchange(unit, 0xFFFF, 117, {1}).opcode, 0);
    EXPECT_EQ(simExchange(unit, 0xFFFF, 83, {0x34, 0x12}).opcode, 0);
    EXPECT_EQ(unit.state().unitNumber, 0xFFFF) << "taken on power down";

    std::vector<uint8_t> frame = buildFrame(0xFFFF, 72, std::vector<uint8_t>{1}.data(), 1);
    SimReaction off = unit.receive(frame.data(), frame.size());
    EXPECT_TRUE(off.dropLink);
    EXPECT_EQ(test::decodeReply(test::joinDeliveries(off)).opcode, 0);
    EXPECT_FALSE(unit.reachable());
    EXPECT_EQ(unit.state().unitNumber, 0x1234);
    clock.advance(2000);
    EXPECT_TRUE(unit.reachable());
    unit.connectionOpened();
    EXPECT_TRUE(simExchange(unit, 0x1234, 5).valid);
    EXPECT_FALSE(simExchange(unit, 0xFFFF, 5).valid);
}

std::vector<uint8_t> sendChunk(SimUnit& unit, const std::vector<uint8_t>& chunk)
{
    std::vector<uint8_t> frame = buildChunkFrame(chunk.data(), chunk.size());
    return test::joinDeliveries(unit.receive(frame.data(), frame.size()));
}

TEST(SimUnitBootloader, EnterDownloadAndRestartIntoTheNewVersion)
{
    ManualClock clock;
    SimState s = unitOf(0x4925);
    s.settings.rmv = 17;
    SimUnit unit(s);
    unit.setClock(&clock);
    unit.connectionOpened();
    std::vector<uint8_t> frame = buildFrame(0x1234, 42, std::vector<uint8_t>{0}.data(), 1);
    SimReaction r = unit.receive(frame.data(), frame.size());
    EXPECT_EQ(test::decodeReply(test::joinDeliveries(r)).opcode, 0);
    EXPECT_TRUE(r.dropLink);
    EXPECT_FALSE(unit.reachable());
    clock.advance(1999);
    EXPECT_FALSE(unit.reachable());
    clock.advance(1);
    ASSERT_TRUE(unit.reachable());
    EXPECT_EQ(unit.mode(), SimUnit::Mode::Bootloader);
    unit.connectionOpened();

    // A frame request gets no frame answer in the bootloader.
    EXPECT_TRUE(test::decodeReply(test::joinDeliveries(unit.receive(frame.data(), frame.size()))).payload.empty());
    clock.advance(1500);  // the bootloader gives up the stray bytes

    std::vector<uint8_t> image = testFirmwareImage(0x4A01, 3, 100);
    size_t offset = 0;
    int chunks = 0;
    while (offset + 2 <= image.size()) {
        size_t length = size_t(image[offset] << 8 | image[offset + 1]);
        std::vector<uint8_t> chunk(image.begin() + long(offset) + 2, image.begin() + long(offset + 2 + length));
        EXPECT_EQ(sendChunk(unit, chunk), std::vector<uint8_t>{0x11});
        offset += 2 + length;
        ++chunks;
    }
    EXPECT_EQ(chunks, 4);
    EXPECT_FALSE(unit.reachable()) << "restarting into the new firmware";
    clock.advance(2000);
    ASSERT_TRUE(unit.reachable());
    unit.connectionOpened();
    SimReply v = simExchange(unit, 0x1234, 5);
    ASSERT_TRUE(v.valid);
    EXPECT_EQ(v.payload[9], 0x4A);
    EXPECT_EQ(v.payload[8], 0x01);
    EXPECT_EQ(unit.state().settings.rmv, 17) << "settings kept";
    EXPECT_EQ(unit.state().diveLogs.size(), 2u) << "logs kept";
}

TEST(SimUnitBootloader, ChunkFaults)
{
    SimState s = unitOf(0x4925);
    s.inBootloader = true;
    s.faults.chunkFaults = {{2, 0x44, 2}, {3, 0x22, 1}, {4, -1, 1}, {5, 0x88, 1}};
    SimUnit unit(s);
    unit.connectionOpened();
    std::vector<uint8_t> chunk(40, 0x5A);
    std::vector<std::vector<uint8_t>> answers;
    for (int i = 0; i < 10; ++i)
        answers.push_back(sendChunk(unit, chunk));
    using B = std::vector<uint8_t>;
    // chunk 1 ok; chunk 2: 44 44 ok; chunk 3: 22 ok; chunk 4: none ok; chunk 5: 88 ok
    std::vector<B> expected{{0x11}, {0x44}, {0x44}, {0x11}, {0x22}, {0x11}, {}, {0x11}, {0x88}, {0x11}};
    EXPECT_EQ(answers, expected);
    EXPECT_EQ(unit.stats().chunksAccepted, 5);
}

TEST(SimUnitBootloader, LengthTakesFifteenBitsAndEmptyChunksAreAnswered)
{
    SimState s = unitOf(0x4925);
    s.inBootloader = true;
    SimUnit unit(s);
    std::vector<uint8_t> empty{0x80, 0x00};  // top bit set, length 0
    EXPECT_EQ(test::joinDeliveries(unit.receive(empty.data(), empty.size())), std::vector<uint8_t>{0x11});
}

}  // namespace
}  // namespace ravo::sim
