// CheckFrame on held (unstuffed) frames, and the receive state byte by byte.
#include <gtest/gtest.h>

#include "link/frame_format.h"
#include "link/frame_receive.h"

namespace ravo {
namespace {

using Bytes = std::vector<uint8_t>;

struct CheckRow {
    const char* what;
    Bytes held;
    bool valid;
    uint16_t unitNumber;
    uint8_t opcode;
    Bytes payload;
};

TEST(CheckFrame, DecidesEveryRow)
{
    const CheckRow rows[] = {
        {"acknowledgement", {0xFA, 0x34, 0x12, 0x00, 0x00, 0x51, 0xFC}, true, 0x1234, 0x00, {}},
        {"challenge", {0xFA, 0x34, 0x12, 0x03, 0x04, 0x01, 0x02, 0x03, 0x04, 0xFD, 0xFC}, true, 0x1234, 0x03,
         {1, 2, 3, 4}},
        {"payload FA FB FC held unescaped", {0xFA, 0x34, 0x12, 0x0D, 0x03, 0xFA, 0xFB, 0xFC, 0x13, 0xFC}, true,
         0x1234, 0x0D, {0xFA, 0xFB, 0xFC}},
        {"n = 0 with extra bytes before the end", {0xFA, 0x34, 0x12, 0x00, 0x00, 0x51, 0x99, 0x98, 0xFC}, true,
         0x1234, 0x00, {}},
        {"wrong check byte", {0xFA, 0x34, 0x12, 0x00, 0x00, 0x52, 0xFC}, false, 0x1234, 0x00, {}},
        {"length one too many", {0xFA, 0x34, 0x12, 0x03, 0x05, 0x01, 0x02, 0x03, 0x04, 0xFD, 0xFC}, false, 0x1234,
         0x03, {}},
        {"length one too few", {0xFA, 0x34, 0x12, 0x03, 0x03, 0x01, 0x02, 0x03, 0x04, 0xFD, 0xFC}, false, 0x1234,
         0x03, {}},
        {"extra byte with n > 0", {0xFA, 0x34, 0x12, 0x03, 0x01, 0x01, 0x1F, 0x00, 0xFC}, false, 0x1234, 0x03, {}},
        {"bad start byte", {0xFB, 0x34, 0x12, 0x00, 0x00, 0x51, 0xFC}, false, 0xFFFF, 0x00, {}},
        {"bad end byte", {0xFA, 0x34, 0x12, 0x00, 0x00, 0x51, 0xFD}, false, 0xFFFF, 0x00, {}},
        {"too short", {0xFA, 0x34, 0x12, 0xFC}, false, 0xFFFF, 0x00, {}},
        {"no check byte", {0xFA, 0x34, 0x12, 0x00, 0x00, 0xFC}, false, 0x1234, 0x00, {}},
        {"another unit", {0xFA, 0x78, 0x56, 0x00, 0x00, 0x0F, 0xFC}, true, 0x5678, 0x00, {}},
    };
    for (const CheckRow& row : rows) {
        UnitReply reply;
        reply.payload = {9, 9};
        const bool ok = CheckFrame(row.held.data(), int(row.held.size()), reply);
        EXPECT_EQ(ok, row.valid) << row.what;
        EXPECT_EQ(reply.valid, row.valid) << row.what;
        EXPECT_EQ(reply.unitNumber, row.unitNumber) << row.what;
        EXPECT_EQ(reply.opcode, row.opcode) << row.what;
        EXPECT_EQ(reply.payload, row.payload) << row.what;
        EXPECT_EQ(reply.length, int(row.payload.size())) << row.what;
    }
}

// Feeds bytes; returns the replies that passed, in order.
std::vector<UnitReply> feedAll(FrameReceiveState& state, const Bytes& bytes)
{
    std::vector<UnitReply> passed;
    for (uint8_t b : bytes) {
        UnitReply reply;
        if (state.feed(b, reply))
            passed.push_back(reply);
        EXPECT_LE(state.heldCount, FrameReceiveState::kFrameBufferSize);
    }
    return passed;
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Bytes kAck = {0xFA, 0x34, 0x12, 0x00, 0x00, 0x51, 0xFC};
const Bytes kPayloadFrame = {0xFA, 0x34, 0x12, 0x0D, 0x03, 0xFB, 0xFA, 0xFB, 0xFB, 0xFB, 0xFC, 0x13, 0xFC};

TEST(ReceiveState, DropsNoiseBeforeTheStartByte)
{
    FrameReceiveState state;
    auto passed = feedAll(state, Bytes{0x00, 0xFC, 0xFB, 0x51, 0x10} + kAck);
    ASSERT_EQ(passed.size(), 1u);
    EXPECT_EQ(passed[0].unitNumber, 0x1234);
    EXPECT_EQ(state.heldCount, 0);
}

TEST(ReceiveState, HoldsEscapedBytesAsDataAndEndsOnlyAtTheEndByte)
{
    FrameReceiveState state;
    auto passed = feedAll(state, kPayloadFrame);
    ASSERT_EQ(passed.size(), 1u);
    EXPECT_EQ(passed[0].payload, (Bytes{0xFA, 0xFB, 0xFC}));
}

TEST(ReceiveState, WaitsAcrossFeedsUntilTheFrameEnds)
{
    FrameReceiveState state;
    EXPECT_TRUE(feedAll(state, Bytes(kPayloadFrame.begin(), kPayloadFrame.begin() + 6)).empty());
    EXPECT_TRUE(state.escapePending);
    EXPECT_EQ(state.heldCount, 5);
    auto passed = feedAll(state, Bytes(kPayloadFrame.begin() + 6, kPayloadFrame.end()));
    ASSERT_EQ(passed.size(), 1u);
    EXPECT_EQ(passed[0].opcode, 0x0D);
}

TEST(ReceiveState, TakesAGoodFrameThatFollowsADamagedOne)
{
    FrameReceiveState state;
    Bytes damaged = kAck;
    damaged[5] ^= 0x01;
    auto passed = feedAll(state, damaged + kAck);
    ASSERT_EQ(passed.size(), 1u);
    EXPECT_TRUE(passed[0].valid);
}

TEST(ReceiveState, TakesAGoodFrameStartingInsideAnUnendedOne)
{
    // The first start byte opens a frame that never ends; the good frame's
    // start byte is held as data, and found again when the end byte fails.
    FrameReceiveState state;
    auto passed = feedAll(state, Bytes{0xFA, 0x01, 0x02} + kPayloadFrame);
    ASSERT_EQ(passed.size(), 1u);
    EXPECT_EQ(passed[0].payload, (Bytes{0xFA, 0xFB, 0xFC}));
}

TEST(ReceiveState, TakesAGoodFrameAfterAPendingEscape)
{
    FrameReceiveState state;
    auto passed = feedAll(state, Bytes{0xFA, 0x01, 0xFB} + kAck);
    ASSERT_EQ(passed.size(), 1u);
    EXPECT_EQ(passed[0].unitNumber, 0x1234);
}

TEST(ReceiveState, NeverHoldsMoreThan1040BytesAndRecovers)
{
    FrameReceiveState state;
    Bytes flood(3000, 0x11);
    flood[0] = 0xFA;
    flood[1500] = 0xFA;
    EXPECT_TRUE(feedAll(state, flood).empty());
    EXPECT_LE(state.heldCount, FrameReceiveState::kFrameBufferSize);
    auto passed = feedAll(state, kAck);
    ASSERT_EQ(passed.size(), 1u);
    EXPECT_EQ(state.heldCount, 0);
}

TEST(ReceiveState, FullBufferWithoutAnotherStartByteIsDropped)
{
    FrameReceiveState state;
    Bytes flood(FrameReceiveState::kFrameBufferSize, 0x11);
    flood[0] = 0xFA;
    EXPECT_TRUE(feedAll(state, flood).empty());
    EXPECT_EQ(state.heldCount, 0);
}

TEST(ReceiveState, AnAcceptedFrameClearsTheState)
{
    FrameReceiveState state;
    auto passed = feedAll(state, kAck + kAck);
    EXPECT_EQ(passed.size(), 2u);
    EXPECT_EQ(state.heldCount, 0);
    EXPECT_FALSE(state.escapePending);
    EXPECT_FALSE(state.endSeen);
}

}  // namespace
}  // namespace ravo
