#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "link/clock.h"
#include "link/frame_format.h"
#include "sim/sim_presets.h"
#include "sim/sim_unit.h"
#include "support/sim_exchange.h"

namespace ravo::sim {
namespace {

using test::decodeReply;
using test::joinDeliveries;

SimReaction request(SimUnit& unit, uint8_t opcode, const std::vector<uint8_t>& payload = {}, uint16_t to = 0x1234)
{
    std::vector<uint8_t> frame = buildFrame(to, opcode, payload.data(), uint8_t(payload.size()));
    return unit.receive(frame.data(), frame.size());
}

SimState withFaults(const std::function<void(SimFaults&)>& set)
{
    SimState s = generatedUnit(0x4925, {100}, 1, 1);
    set(s.faults);
    return s;
}

TEST(SimFaults, NoiseBeforeReplies)
{
    SimUnit unit(withFaults([](SimFaults& f) { f.noiseBytes = 5; }));
    std::vector<uint8_t> bytes = joinDeliveries(request(unit, 5));
    ASSERT_GT(bytes.size(), 5u);
    EXPECT_NE(bytes[0], 0xFA);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(bytes[size_t(i)] < 0xFA) << "noise never holds frame bytes";
    EXPECT_EQ(bytes[5], 0xFA);
    EXPECT_TRUE(decodeReply(bytes).valid);
}

TEST(SimFaults, EndlessNoiseComesAtLineSpeedAndNeverEndsAFrame)
{
    ManualClock clock;
    SimUnit unit(withFaults([](SimFaults& f) { f.noiseStream = true; }));
    unit.setClock(&clock);
    unit.connectionOpened();
    std::vector<uint8_t> all;
    for (int i = 0; i < 100; ++i) {
        clock.advance(10);
        std::vector<uint8_t> bytes = unit.noiseDue();
        all.insert(all.end(), bytes.begin(), bytes.end());
    }
    // One second at 115,200 baud, ten bits a byte.
    EXPECT_NEAR(double(all.size()), 11520.0, 2.0);
    EXPECT_EQ(std::count(all.begin(), all.end(), 0xFC), 0);
    EXPECT_GT(std::count(all.begin(), all.end(), 0xFA), 50) << "frames begin and never end";

    unit.update([](SimState& s) { s.faults.noiseStream = false; });
    clock.advance(100);
    EXPECT_TRUE(unit.noiseDue().empty());
}

TEST(SimFaults, ReplySplitOverTwoWritesWithAGap)
{
    ManualClock clock;
    SimUnit unit(withFaults([](SimFaults& f) { f.splitGapMs = 300; }));
    unit.setClock(&clock);
    SimReaction r = request(unit, 5);
    ASSERT_EQ(r.deliveries.size(), 2u);
    EXPECT_EQ(r.deliveries[1].atMs - r.deliveries[0].atMs, 300);
    EXPECT_TRUE(decodeReply(joinDeliveries(r)).valid);
    EXPECT_FALSE(decodeReply(r.deliveries[0].bytes).valid);
}

TEST(SimFaults, EveryThirdReplyCorrupted)
{
    SimUnit unit(withFaults([](SimFaults& f) { f.corruptEvery = 3; }));
    std::vector<bool> valid;
    for (int i = 0; i < 6; ++i)
        valid.push_back(decodeReply(joinDeliveries(request(unit, 5))).valid);
    EXPECT_EQ(valid, (std::vector<bool>{true, true, false, true, true, false}));
}

TEST(SimFaults, EverySecondRequestIgnored)
{
    SimUnit unit(withFaults([](SimFaults& f) { f.ignoreEvery = 2; }));
    std::vector<bool> answered;
    for (int i = 0; i < 4; ++i)
        answered.push_back(!request(unit, 5).deliveries.empty());
    EXPECT_EQ(answered, (std::vector<bool>{true, false, true, false}));
}

TEST(SimFaults, RepliesCarryAnotherUnitNumber)
{
    SimUnit unit(withFaults([](SimFaults& f) { f.replyUnitNumber = 0x4321; }));
    test::SimReply r = decodeReply(joinDeliveries(request(unit, 5)));
    ASSERT_TRUE(r.valid);
    EXPECT_EQ(r.unitNumber, 0x4321);
}

TEST(SimFaults, SilentUnitNeverAnswers)
{
    SimUnit unit(withFaults([](SimFaults& f) { f.silent = true; }));
    EXPECT_TRUE(request(unit, 5).deliveries.empty());
    EXPECT_TRUE(request(unit, 2, {4}).deliveries.empty());
    EXPECT_EQ(unit.stats().requests, 2);
}

TEST(SimFaults, LinkDroppedAfterTwoExchanges)
{
    SimUnit unit(withFaults([](SimFaults& f) { f.dropAfter = 2; }));
    unit.connectionOpened();
    EXPECT_FALSE(request(unit, 5).dropLink);
    SimReaction second = request(unit, 5);
    EXPECT_TRUE(second.dropLink);
    EXPECT_FALSE(second.deliveries.empty()) << "the second reply still goes out";
    EXPECT_TRUE(request(unit, 5).deliveries.empty());
    unit.connectionOpened();
    EXPECT_FALSE(request(unit, 5).deliveries.empty()) << "a new connection is served again";
}

TEST(SimFaults, ShortDataReplies)
{
    SimUnit unit(withFaults([](SimFaults& f) { f.shortDataRecords = 10; }));
    request(unit, 14, {0, 0, 0, 0});
    EXPECT_EQ(decodeReply(joinDeliveries(request(unit, 15, {0, 0, 0, 0}))).payload.size(), 40u);
}

TEST(SimTiming, RepliesTakeTheTimeTheLinkNeeds)
{
    ManualClock clock;
    SimState s = withFaults([](SimFaults&) {});
    s.timing = {true, 9600, 5};
    SimUnit unit(s);
    unit.setClock(&clock);
    clock.advance(1000);
    // Request 7 bytes, reply 22 bytes, one byte = 10/9600 s.
    SimReaction r = request(unit, 5);
    ASSERT_EQ(r.deliveries.size(), 1u);
    double byteMs = 10000.0 / 9600;
    EXPECT_NEAR(r.deliveries[0].atMs, 1000 + 7 * byteMs + 5 + 22 * byteMs, 1e-6);
    // A second request sent at once waits for the line.
    SimReaction next = request(unit, 5);
    EXPECT_GT(next.deliveries[0].atMs, r.deliveries[0].atMs);
}

TEST(SimTiming, OffMeansAtOnce)
{
    ManualClock clock;
    SimUnit unit(withFaults([](SimFaults&) {}));
    unit.setClock(&clock);
    clock.advance(50);
    EXPECT_EQ(request(unit, 5).deliveries[0].atMs, 50);
}

}  // namespace
}  // namespace ravo::sim
