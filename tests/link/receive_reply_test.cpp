// ReceiveReply over a real socket: replies in pieces, noise, other units,
// missing replies, and the wait that ends when bytes arrive.
#include <gtest/gtest.h>

#include <chrono>

#include "link/frame_format.h"
#include "tests/link/link_fixture.h"

namespace ravo::test {
namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kChallengeReply = {0xFA, 0x34, 0x12, 0x03, 0x04, 0x01, 0x02, 0x03, 0x04, 0xFD, 0xFC};

Bytes slice(const Bytes& b, size_t from, size_t to)
{
    return Bytes(b.begin() + long(from), b.begin() + long(to));
}

// How the reply wait spends its time is what these tests look at: all link
// time runs ten times faster than real time here.
class ReceiveReplyTest : public LinkTest {
protected:
    void SetUp() override
    {
        LinkTest::SetUp();
        link->setClock(&scaled);
    }
    ScaledClock scaled{10.0};

    // Sends a request so that the peer answers with its next queued answer.
    bool exchange(UnitReply& reply)
    {
        link->SendFrame(2, nullptr, 0);
        return link->ReceiveReply(reply);
    }
};

TEST_F(ReceiveReplyTest, AssemblesAReplyFromReadsHundredsOfMillisecondsApart)
{
    // 40 real ms are 400 ms of link time.
    peer->queue({{0, slice(kChallengeReply, 0, 3)},
                 {40, slice(kChallengeReply, 3, 7)},
                 {40, slice(kChallengeReply, 7, kChallengeReply.size())}});
    const uint64_t start = scaled.nowMs();
    UnitReply reply;
    EXPECT_TRUE(exchange(reply));
    EXPECT_GE(scaled.nowMs() - start, 700u);
    EXPECT_TRUE(reply.valid);
    EXPECT_EQ(reply.opcode, 3);
    EXPECT_EQ(reply.payload, (Bytes{1, 2, 3, 4}));
}

TEST_F(ReceiveReplyTest, AssemblesAReplySplitOverTwoCalls)
{
    peer->queueBytes(slice(kChallengeReply, 0, 6));
    UnitReply reply;
    EXPECT_FALSE(exchange(reply));
    EXPECT_FALSE(reply.valid);
    EXPECT_EQ(link->receiveState.heldCount, 6);
    peer->push(slice(kChallengeReply, 6, kChallengeReply.size()));
    EXPECT_TRUE(link->ReceiveReply(reply));
    EXPECT_EQ(reply.payload, (Bytes{1, 2, 3, 4}));
}

TEST_F(ReceiveReplyTest, DropsNoiseBeforeAndBytesAfterTheReply)
{
    const Bytes ack = replyFrame(0x1234, 0);
    peer->queueBytes(joined({{0x00, 0xFC, 0x55, 0xFB, 0x10}, kChallengeReply, {0x77, 0xFB}, ack}));
    UnitReply reply;
    EXPECT_TRUE(exchange(reply));
    EXPECT_EQ(reply.opcode, 3);
    // The acknowledgement came in the same read and was dropped with it.
    EXPECT_EQ(link->receiveState.heldCount, 0);
    EXPECT_FALSE(link->ReceiveReply(reply));
    EXPECT_FALSE(reply.valid);
}

TEST_F(ReceiveReplyTest, AcceptsAnEmptyReplyWithExtraBytesBeforeTheEnd)
{
    peer->queueBytes({0xFA, 0x34, 0x12, 0x00, 0x00, 0x51, 0x01, 0x02, 0xFC});
    EXPECT_EQ(link->WriteByte(UNIT_CMD_SET_METRIC, 1), 1);
}

TEST_F(ReceiveReplyTest, RejectsAReplyWhoseLengthDoesNotMatch)
{
    // Length 2 declared, three bytes carried, check byte right for the bytes.
    Bytes wrong = {0xFA, 0x34, 0x12, 0x16, 0x02, 0xD2, 0x0F, 0x00};
    wrong.push_back(crc8(wrong.data(), 7));
    wrong.push_back(0xFC);
    peer->queueBytes(wrong);
    uint16_t millivolts = 7;
    EXPECT_EQ(link->GetBatteryMillivolts(millivolts), 0);
    EXPECT_EQ(millivolts, 0);
}

TEST_F(ReceiveReplyTest, AReplyFromAnotherUnitIsValidButNotOurs)
{
    peer->queueBytes(replyFrame(0x5678, 3, {9, 8, 7, 6}));
    UnitReply reply;
    EXPECT_FALSE(exchange(reply));
    EXPECT_TRUE(reply.valid);
    EXPECT_EQ(reply.unitNumber, 0x5678);

    // The commands look only at the reply itself.
    peer->queueBytes(replyFrame(0x5678, 22, {0xD2, 0x0F}));
    uint16_t millivolts = 0;
    EXPECT_EQ(link->GetBatteryMillivolts(millivolts), 1);
    EXPECT_EQ(millivolts, 4050);
}

TEST_F(ReceiveReplyTest, GivesUpAfterTheTotalWait)
{
    peer->queueSilence();
    const uint64_t start = scaled.nowMs();
    const auto realStart = std::chrono::steady_clock::now();
    UnitReply reply;
    EXPECT_FALSE(exchange(reply));
    EXPECT_FALSE(reply.valid);
    EXPECT_EQ(reply.unitNumber, 0xFFFF);
    const uint64_t waited = scaled.nowMs() - start;
    EXPECT_GT(waited, 2500u);
    EXPECT_LT(waited, 3000u);
    EXPECT_LT(std::chrono::steady_clock::now() - realStart, std::chrono::seconds(1));
}

TEST_F(ReceiveReplyTest, NotifiesOnceForAnAcceptedReply)
{
    ActivityLog activity;
    link->activity = &activity;
    peer->queueBytes(kChallengeReply);
    UnitReply reply;
    EXPECT_TRUE(exchange(reply));
    EXPECT_EQ(activity.seen, "SR");
}

TEST_F(ReceiveReplyTest, NothingIsNotifiedWithoutAReply)
{
    ActivityLog activity;
    link->activity = &activity;
    peer->queueBytes({0xFA, 0x34, 0x12, 0x00, 0x00, 0x52, 0xFC});
    UnitReply reply;
    EXPECT_FALSE(exchange(reply));
    EXPECT_EQ(activity.seen, "S");
}

// Real time here, with the pauses the link sleeps counted: waking on data takes
// the reply without a whole pause, a plain sleep takes at least one. Counting
// the pauses, not timing them, holds however busy the machine is.
struct PauseCountingClock : Clock {
    uint64_t nowMs() override { return systemClock().nowMs(); }
    void sleepMs(uint32_t ms) override
    {
        sleptMs += ms;
        systemClock().sleepMs(ms);
    }
    std::atomic<uint64_t> sleptMs{0};
};

class WakeOnDataTest : public ReceiveReplyTest {
protected:
    ~WakeOnDataTest() override { link->setClock(nullptr); }
    uint64_t pausedMsForDelayedReply(bool wakeOnData)
    {
        link->setClock(&counting);
        link->wakeOnData = wakeOnData;
        peer->queue({{20, replyFrame(0x1234, 0)}});
        UnitReply reply;
        EXPECT_TRUE(exchange(reply));
        return counting.sleptMs;
    }
    PauseCountingClock counting;
};

TEST_F(WakeOnDataTest, TakesTheReplyAsSoonAsItArrives)
{
    EXPECT_LT(pausedMsForDelayedReply(true), 100u);
}

TEST_F(WakeOnDataTest, PlainSleepWaitsTheWholePause)
{
    EXPECT_GE(pausedMsForDelayedReply(false), 100u);
}

}  // namespace
}  // namespace ravo::test
