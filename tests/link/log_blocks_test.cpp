// Directory entries, header blocks and sample blocks over the socket.
#include <gtest/gtest.h>

#include "tests/link/link_fixture.h"

namespace ravo::test {
namespace {

using Bytes = std::vector<uint8_t>;

uint32_t le32(const Bytes& p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

class DirectoryEntryTest : public LinkTest {};

TEST_F(DirectoryEntryTest, DecodesTheThreeFieldsAndSendsTheIndex)
{
    peer->queueBytes(replyFrame(0x1234, 13, {0x10, 0x20, 0x30, 0x40, 0x19, 0x00, 0x00, 0x00, 0xCD, 0xAB}));
    LogDirectoryEntry entry;
    ASSERT_EQ(link->ReadLogEntry(UNIT_CMD_GET_DIVE_INFO, 0x0102, entry), 1);
    EXPECT_EQ(entry.startTime, 0x40302010u);
    EXPECT_EQ(entry.recordCount, 25u);
    EXPECT_EQ(entry.auxWord, 0xABCD);
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(requests()[0].opcode, 13);
    EXPECT_EQ(requests()[0].payload, (Bytes{0x02, 0x01}));
}

TEST_F(DirectoryEntryTest, ShortReplyLeavesTheMissingFieldsZero)
{
    peer->queueBytes(replyFrame(0x1234, 13, {0x10, 0x20, 0x30, 0x40, 0x19, 0x00, 0x00}));
    LogDirectoryEntry entry;
    entry.recordCount = 99;
    ASSERT_EQ(link->ReadLogEntry(UNIT_CMD_GET_DIVE_INFO, 0, entry), 1);
    EXPECT_EQ(entry.startTime, 0x40302010u);
    EXPECT_EQ(entry.recordCount, 0u);
    EXPECT_EQ(entry.auxWord, 0);
}

TEST_F(DirectoryEntryTest, RedboxEntryUsesItsOwnOpcodeForReplyToo)
{
    link->unitFirmwareVersion = 0x4700;
    peer->queueBytes(replyFrame(0x1234, 13, {1, 2, 3, 4}));  // a dive reply is not the answer
    LogDirectoryEntry entry;
    EXPECT_EQ(link->ReadLogEntry(UNIT_CMD_GET_REDBOX_INFO, 0, entry), 0);
    peer->queueBytes(replyFrame(0x1234, 95, {1, 2, 3, 4}));
    EXPECT_EQ(link->ReadLogEntry(UNIT_CMD_GET_REDBOX_INFO, 0, entry), 1);
    EXPECT_EQ(entry.startTime, 0x04030201u);
    EXPECT_EQ(requests().back().opcode, 95);
}

class HeaderBlocksTest : public LinkTest {};

TEST_F(HeaderBlocksTest, TwoRepliesOf200BytesKeep256AfterTwoExchanges)
{
    Bytes first(200), second(200);
    for (int i = 0; i < 200; ++i) {
        first[size_t(i)] = uint8_t(i);
        second[size_t(i)] = uint8_t(200 + i);
    }
    peer->queueBytes(replyFrame(0x1234, 14, first));
    peer->queueBytes(replyFrame(0x1234, 14, second));
    uint8_t header[256] = {};
    EXPECT_EQ(link->ReadHeaderBlocks(UNIT_CMD_GET_DIVE_HEADER, 7, header), 1);
    const auto sent = requests();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].payload, (Bytes{0x07, 0x00, 0x00, 0x00}));
    EXPECT_EQ(sent[1].payload, (Bytes{0x07, 0x00, 0xC8, 0x00}));
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(header[i], uint8_t(i)) << i;
}

TEST_F(HeaderBlocksTest, FiveFailuresInARowEndTheReadKeepingWhatArrived)
{
    peer->queueBytes(replyFrame(0x1234, 14, Bytes(100, 0xAB)));
    peer->queueSilence();
    peer->queueBytes(replyFrame(0x1234, 14));               // no bytes: a failure
    peer->queueBytes(replyFrame(0x1234, 15, Bytes(4, 1)));  // wrong opcode
    peer->queueSilence();
    peer->queueSilence();
    uint8_t header[256] = {};
    EXPECT_EQ(link->ReadHeaderBlocks(UNIT_CMD_GET_DIVE_HEADER, 1, header), 0);
    EXPECT_EQ(requests().size(), 6u);
    EXPECT_EQ(header[99], 0xAB);
    EXPECT_EQ(header[100], 0x00);
}

TEST_F(HeaderBlocksTest, ASuccessGivesFiveTriesAgain)
{
    for (int i = 0; i < 4; ++i)
        peer->queueSilence();
    peer->queueBytes(replyFrame(0x1234, 14, Bytes(128, 0x01)));
    for (int i = 0; i < 4; ++i)
        peer->queueSilence();
    peer->queueBytes(replyFrame(0x1234, 14, Bytes(128, 0x02)));
    uint8_t header[256] = {};
    EXPECT_EQ(link->ReadHeaderBlocks(UNIT_CMD_GET_DIVE_HEADER, 1, header), 1);
    EXPECT_EQ(requests().size(), 10u);
    EXPECT_EQ(header[127], 0x01);
    EXPECT_EQ(header[128], 0x02);
}

// A unit holding one log of `records` 4-byte records whose byte k is k & 0xFF,
// answering a data request at position p with at most `perReply` bytes.
LinkScriptPeer::Handler logUnit(uint8_t opcode, int records, const std::vector<int>& perReply)
{
    auto replies = std::make_shared<size_t>(0);
    return [=](const ReceivedRequest& request) -> ScriptedAnswer {
        if (request.opcode != opcode || request.payload.size() != 4)
            return {};
        const size_t index = std::min(*replies, perReply.size() - 1);
        ++*replies;
        const int limit = perReply[index];
        if (limit < 0)
            return {};  // silence
        const uint32_t position = le32(request.payload);
        Bytes bytes;
        for (uint32_t k = position * 4; k < uint32_t(records) * 4 && int(bytes.size()) < limit; ++k)
            bytes.push_back(uint8_t(k));
        return {{0, replyFrame(0x1234, opcode, bytes)}};
    };
}

class DataBlockTest : public LinkTest {
protected:
    void usePeer(LinkScriptPeer::Handler handler)
    {
        peer = std::make_unique<LinkScriptPeer>(std::move(handler));
    }
    void SetUp() override {}
    void start()
    {
        LinkTest::SetUp();
    }
    std::vector<uint32_t> positionsAsked() const
    {
        std::vector<uint32_t> positions;
        for (const auto& r : requests())
            positions.push_back(le32(r.payload));
        return positions;
    }
};

TEST_F(DataBlockTest, FullReplyFillsTheBlockInOneExchange)
{
    usePeer(logUnit(15, 100, {100}));
    start();
    uint8_t block[100] = {};
    int got = 0;
    EXPECT_EQ(link->ReadDataBlock(UNIT_CMD_GET_DIVE_DATA, 25, block, 100, got), 1);
    EXPECT_EQ(got, 100);
    EXPECT_EQ(positionsAsked(), (std::vector<uint32_t>{25}));
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(block[i], uint8_t(100 + i)) << i;
}

TEST_F(DataBlockTest, ShortReplyIsFollowedFromTheNextWholeRecordWithoutRepeats)
{
    // 42 bytes: ten whole records and half of the eleventh.
    usePeer(logUnit(15, 100, {42, 100}));
    start();
    uint8_t block[100] = {};
    int got = 0;
    EXPECT_EQ(link->ReadDataBlock(UNIT_CMD_GET_DIVE_DATA, 25, block, 100, got), 1);
    EXPECT_EQ(got, 100);
    EXPECT_EQ(positionsAsked(), (std::vector<uint32_t>{25, 35}));
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(block[i], uint8_t(100 + i)) << i;
}

TEST_F(DataBlockTest, SeveralShortRepliesAddUp)
{
    usePeer(logUnit(15, 60, {20, 20, 20, 20, 20}));
    start();
    uint8_t block[100] = {};
    int got = 0;
    EXPECT_EQ(link->ReadDataBlock(UNIT_CMD_GET_DIVE_DATA, 0, block, 100, got), 1);
    EXPECT_EQ(got, 100);
    EXPECT_EQ(positionsAsked(), (std::vector<uint32_t>{0, 5, 10, 15, 20}));
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(block[i], uint8_t(i)) << i;
}

TEST_F(DataBlockTest, LongerReplyStoresOnlyWhatIsWanted)
{
    usePeer(logUnit(15, 100, {100}));
    start();
    uint8_t block[24] = {};
    int got = 0;
    EXPECT_EQ(link->ReadDataBlock(UNIT_CMD_GET_DIVE_DATA, 0, block, 20, got), 1);
    EXPECT_EQ(got, 20);
    EXPECT_EQ(block[19], 19);
    EXPECT_EQ(block[20], 0);
}

TEST_F(DataBlockTest, FiveFailedAttemptsEndTheBlock)
{
    usePeer(logUnit(15, 100, {-1}));
    start();
    uint8_t block[100] = {};
    int got = 7;
    EXPECT_EQ(link->ReadDataBlock(UNIT_CMD_GET_DIVE_DATA, 3, block, 100, got), 0);
    EXPECT_EQ(got, 0);
    EXPECT_EQ(positionsAsked(), (std::vector<uint32_t>{3, 3, 3, 3, 3}));
}

TEST_F(DataBlockTest, FailuresAfterPartOfTheBlockReportWhatWasStored)
{
    usePeer(logUnit(15, 100, {40, -1}));
    start();
    uint8_t block[100] = {};
    int got = 0;
    EXPECT_EQ(link->ReadDataBlock(UNIT_CMD_GET_DIVE_DATA, 0, block, 100, got), 0);
    EXPECT_EQ(got, 40);
    EXPECT_EQ(requests().size(), 6u);
}

TEST_F(DataBlockTest, FourFailuresThenAReplyStillSucceed)
{
    usePeer(logUnit(15, 100, {-1, -1, -1, -1, 100}));
    start();
    uint8_t block[100] = {};
    int got = 0;
    EXPECT_EQ(link->ReadDataBlock(UNIT_CMD_GET_DIVE_DATA, 0, block, 100, got), 1);
    EXPECT_EQ(got, 100);
}

TEST_F(DataBlockTest, EmptyRepliesCountAsFailures)
{
    usePeer(logUnit(15, 0, {100}));
    start();
    uint8_t block[100] = {};
    int got = 0;
    EXPECT_EQ(link->ReadDataBlock(UNIT_CMD_GET_DIVE_DATA, 0, block, 100, got), 0);
    EXPECT_EQ(requests().size(), 5u);
}

TEST_F(DataBlockTest, RepliesOfLessThanARecordDoNotLoopForever)
{
    usePeer(logUnit(15, 100, {2}));
    start();
    uint8_t block[100] = {};
    int got = 0;
    EXPECT_EQ(link->ReadDataBlock(UNIT_CMD_GET_DIVE_DATA, 0, block, 100, got), 0);
    EXPECT_EQ(got, 2);
    EXPECT_EQ(requests().size(), 6u);
}

TEST_F(DataBlockTest, WantedIsCutTo100Bytes)
{
    usePeer(logUnit(15, 100, {200}));
    start();
    uint8_t block[200] = {};
    int got = 0;
    EXPECT_EQ(link->ReadDataBlock(UNIT_CMD_GET_DIVE_DATA, 0, block, 200, got), 1);
    EXPECT_EQ(got, 100);
    EXPECT_EQ(block[100], 0);
}

TEST_F(DataBlockTest, RedboxDataUsesTheRedboxOpcode)
{
    usePeer(logUnit(97, 100, {100}));
    start();
    link->unitFirmwareVersion = 0x4700;
    uint8_t block[100] = {};
    int got = 0;
    EXPECT_EQ(link->ReadDataBlock(UNIT_CMD_GET_REDBOX_DATA, 0, block, 100, got), 1);
    EXPECT_EQ(requests()[0].opcode, 97);
}

}  // namespace
}  // namespace ravo::test
