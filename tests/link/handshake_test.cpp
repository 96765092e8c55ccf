// The access handshake: variant by version, the response bytes, and the
// exchanges over the socket.
#include <gtest/gtest.h>

#include "link/handshake.h"
#include "tests/link/link_fixture.h"

namespace ravo::test {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(HandshakeVariant, ChosenByVersionAtEveryEdge)
{
    const struct {
        uint32_t version;
        char variant;
    } rows[] = {
        {0x0000, 'D'}, {0x4100, 'D'}, {0x4101, 'C'}, {0x4302, 'C'}, {0x4303, 'B'},
        {0x46FF, 'B'}, {0x4700, 'A'}, {0x4925, 'A'}, {0xFFFF, 'A'},
    };
    for (const auto& row : rows)
        EXPECT_EQ(char(handshakeVariant(row.version)), row.variant) << std::hex << row.version;
}

TEST(HandshakeResponse, MatchesHandComputedBytes)
{
    // Worked out by hand from the variant rules and the two key sets.
    const uint8_t challenge[4] = {0x01, 0x02, 0x03, 0x04};
    const struct {
        uint32_t version;
        Bytes response;
    } rows[] = {
        {0x4700, {0x8F, 0x0A, 0x66, 0x81}},
        {0x4303, {0x58, 0x5D, 0xFF, 0xF0}},
        {0x4101, {0x09, 0x7C, 0xEF, 0xB0}},
        {0x4100, {0x01, 0xEE, 0x10, 0xFF}},
    };
    for (const auto& row : rows) {
        uint8_t response[4];
        handshakeResponse(row.version, challenge, response);
        EXPECT_EQ(Bytes(response, response + 4), row.response) << std::hex << row.version;
    }
}

TEST(HandshakeResponse, VariantsCAndDLookOnlyAtTheFirstByte)
{
    for (uint32_t version : {0x4100u, 0x4101u, 0x4302u}) {
        const uint8_t a[4] = {0x5A, 0x00, 0x00, 0x00};
        const uint8_t b[4] = {0x5A, 0xFF, 0x13, 0xC7};
        uint8_t ra[4], rb[4];
        handshakeResponse(version, a, ra);
        handshakeResponse(version, b, rb);
        EXPECT_EQ(Bytes(ra, ra + 4), Bytes(rb, rb + 4)) << std::hex << version;
    }
}

TEST(HandshakeResponse, VariantsAAndBUseEveryByte)
{
    for (uint32_t version : {0x4303u, 0x4700u}) {
        const uint8_t base[4] = {0x5A, 0x00, 0x00, 0x00};
        uint8_t r0[4];
        handshakeResponse(version, base, r0);
        for (int i = 1; i < 4; ++i) {
            uint8_t changed[4] = {0x5A, 0x00, 0x00, 0x00};
            changed[i] = 0x01;
            uint8_t r[4];
            handshakeResponse(version, changed, r);
            EXPECT_NE(Bytes(r, r + 4), Bytes(r0, r0 + 4)) << std::hex << version << " byte " << i;
        }
    }
}

TEST(SwapNibbles, ExchangesTheHalves)
{
    EXPECT_EQ(swapNibbles(0x12), 0x21);
    EXPECT_EQ(swapNibbles(0xF0), 0x0F);
    EXPECT_EQ(swapNibbles(0xA5), 0x5A);
}

class HandshakeTest : public LinkTest {};

TEST_F(HandshakeTest, ReadsTheChallengeAndSendsTheResponse)
{
    peer->queueBytes(replyFrame(0x1234, 3, {0x01, 0x02, 0x03, 0x04}));
    peer->queueBytes(replyFrame(0x1234, 0));
    EXPECT_EQ(link->Handshake(0x4303), 1);
    const auto sent = requests();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].opcode, 2);
    EXPECT_EQ(sent[0].payload, Bytes{4});
    EXPECT_EQ(sent[1].opcode, 4);
    EXPECT_EQ(sent[1].payload, (Bytes{0x58, 0x5D, 0xFF, 0xF0}));
}

TEST_F(HandshakeTest, ShortChallengeCountsMissingBytesAsZero)
{
    peer->queueBytes(replyFrame(0x1234, 3, {0x01, 0x02}));
    peer->queueBytes(replyFrame(0x1234, 0));
    EXPECT_EQ(link->Handshake(0x4700), 1);
    const uint8_t padded[4] = {0x01, 0x02, 0x00, 0x00};
    uint8_t expected[4];
    handshakeResponse(0x4700, padded, expected);
    const auto sent = requests();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].payload, Bytes(expected, expected + 4));
}

TEST_F(HandshakeTest, EmptyChallengeIsAllZero)
{
    peer->queueBytes(replyFrame(0x1234, 3));
    uint8_t challenge[4] = {9, 9, 9, 9};
    EXPECT_EQ(link->ReadChallenge(challenge), 1);
    EXPECT_EQ(Bytes(challenge, challenge + 4), (Bytes{0, 0, 0, 0}));
}

TEST_F(HandshakeTest, FailedChallengeSendsNoResponseButKeepsTheVersion)
{
    peer->queueBytes(replyFrame(0x1234, 2, {1, 2, 3, 4}));  // wrong reply opcode
    EXPECT_EQ(link->Handshake(0x4700), 0);
    EXPECT_EQ(link->unitFirmwareVersion, 0x4700u);
    EXPECT_EQ(requests().size(), 1u);
}

TEST_F(HandshakeTest, MissingChallengeSendsNoResponse)
{
    peer->queueSilence();
    EXPECT_EQ(link->Handshake(0x4101), 0);
    EXPECT_EQ(link->unitFirmwareVersion, 0x4101u);
    EXPECT_EQ(requests().size(), 1u);
}

TEST_F(HandshakeTest, RefusedResponseFails)
{
    peer->queueBytes(replyFrame(0x1234, 3, {1, 2, 3, 4}));
    peer->queueBytes(replyFrame(0x1234, 4));  // not an acknowledgement
    EXPECT_EQ(link->Handshake(0x4700), 0);
    EXPECT_EQ(requests().size(), 2u);
}

TEST_F(HandshakeTest, VersionPicksTheMapOfLaterCommands)
{
    peer->queueBytes(replyFrame(0x1234, 3, {1, 2, 3, 4}));
    peer->queueBytes(replyFrame(0x1234, 0));
    ASSERT_EQ(link->Handshake(0x4700), 1);
    peer->queueBytes(replyFrame(0x1234, 94, {3, 0}));
    uint16_t count = 0;
    EXPECT_EQ(link->ReadLogCount(UNIT_CMD_GET_REDBOX_COUNT, count), 1);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(requests().back().opcode, 94);
}

TEST_F(HandshakeTest, UnreadVersionsGiveVariantDAndTheFirstMap)
{
    peer->queueBytes(replyFrame(0x1234, 3, {0x01, 0x77, 0x88, 0x99}));
    peer->queueBytes(replyFrame(0x1234, 0));
    EXPECT_EQ(link->Handshake(0), 1);
    const auto sent = requests();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].payload, (Bytes{0x01, 0xEE, 0x10, 0xFF}));
    EXPECT_EQ(unitOpcode(UNIT_CMD_POWER_DOWN, link->unitFirmwareVersion), 57);
}

}  // namespace
}  // namespace ravo::test
