#include <gtest/gtest.h>

#include "link/unit_commands.h"
#include "tests/link/link_fixture.h"

namespace ravo::test {
namespace {

using Bytes = std::vector<uint8_t>;

TEST_F(LinkTest, VersionsRequestIsWrittenAsTheExampleFrame)
{
    peer->queueBytes(replyFrame(0x1234, 5, {0x10, 0x20}));
    uint8_t versions[15];
    int count = 0;
    ASSERT_EQ(link->ReadVersions(versions, count), 1);
    EXPECT_EQ(count, 2);
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(requests()[0].wire, (Bytes{0xFA, 0x34, 0x12, 0x05, 0x00, 0x10, 0xFC}));
}

TEST_F(LinkTest, ReadWordTakesLittleEndianPayload)
{
    peer->queueBytes(replyFrame(0x1234, 22, {0xD2, 0x0F}));
    uint16_t mv = 0;
    ASSERT_EQ(link->GetBatteryMillivolts(mv), 1);
    EXPECT_EQ(mv, 4050);
}

TEST_F(LinkTest, SecondMapOnlyCommandFailsWithoutExchangeOnOldUnit)
{
    link->unitFirmwareVersion = 0x46FF;
    double limit = 1;
    EXPECT_EQ(link->GetDepthLimit(limit), 0);
    EXPECT_EQ(limit, 0);
    EXPECT_TRUE(peer->receivedBytes().empty());
}

TEST_F(LinkTest, HandshakeAnswersTheChallengeAndStoresTheVersion)
{
    peer->queueBytes(replyFrame(0x1234, 3, {0x01, 0x02, 0x03, 0x04}));
    peer->queueBytes(replyFrame(0x1234, 0));
    EXPECT_EQ(link->Handshake(0x4700), 1);
    EXPECT_EQ(link->unitFirmwareVersion, 0x4700u);
    ASSERT_EQ(requests().size(), 2u);
    EXPECT_EQ(requests()[1].opcode, 4);
    EXPECT_EQ(requests()[1].payload.size(), 4u);
}

TEST_F(LinkTest, HeaderOfTwoLongRepliesKeeps256Bytes)
{
    peer->queueBytes(replyFrame(0x1234, 14, Bytes(200, 0x11)));
    peer->queueBytes(replyFrame(0x1234, 14, Bytes(200, 0x22)));
    uint8_t header[256] = {};
    EXPECT_EQ(link->ReadHeaderBlocks(UNIT_CMD_GET_DIVE_HEADER, 7, header), 1);
    EXPECT_EQ(requests().size(), 2u);
    EXPECT_EQ(header[199], 0x11);
    EXPECT_EQ(header[200], 0x22);
    EXPECT_EQ(header[255], 0x22);
}

}  // namespace
}  // namespace ravo::test
