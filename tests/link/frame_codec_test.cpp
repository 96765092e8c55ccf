// Frames on the wire: the check byte, the stuffing and the chunk frame, as the
// scripted unit receives them over the socket.
#include <gtest/gtest.h>

#include <string>

#include "link/frame_format.h"
#include "tests/link/link_fixture.h"

namespace ravo::test {
namespace {

using Bytes = std::vector<uint8_t>;

struct CrcRow {
    Bytes input;
    uint8_t expected;
};

TEST(Crc8, MatchesTheCatalogueValues)
{
    const std::string digits = "123456789";
    EXPECT_EQ(crc8(reinterpret_cast<const uint8_t*>(digits.data()), digits.size()), 0xF4);
    const CrcRow rows[] = {
        {{}, 0x00},
        {{0x01}, 0x07},
        {{0x80}, 0x89},
        {{0xFF}, 0xF3},
        {{0xFA, 0x34, 0x12, 0x05, 0x00}, 0x10},
    };
    for (const CrcRow& row : rows)
        EXPECT_EQ(crc8(row.input.data(), row.input.size()), row.expected) << ::testing::PrintToString(row.input);
}

struct FrameRow {
    const char* what;
    uint16_t unitNumber;
    uint8_t opcode;
    Bytes payload;
    Bytes wire;
};

Bytes withZeros(Bytes head, size_t zeros, Bytes tail)
{
    head.insert(head.end(), zeros, 0x00);
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

const std::vector<FrameRow>& frameRows()
{
    static const std::vector<FrameRow> rows = {
        {"versions request", 0x1234, 0x05, {}, {0xFA, 0x34, 0x12, 0x05, 0x00, 0x10, 0xFC}},
        {"unit number low byte FA", 0x12FA, 0x05, {}, {0xFA, 0xFB, 0xFA, 0x12, 0x05, 0x00, 0x7E, 0xFC}},
        {"acknowledgement", 0x1234, 0x00, {}, {0xFA, 0x34, 0x12, 0x00, 0x00, 0x51, 0xFC}},
        {"unit number FC FB", 0xFBFC, 0x01, {}, {0xFA, 0xFB, 0xFC, 0xFB, 0xFB, 0x01, 0x00, 0xAA, 0xFC}},
        {"payload FA FB FC",
         0x1234,
         0x0D,
         {0xFA, 0xFB, 0xFC},
         {0xFA, 0x34, 0x12, 0x0D, 0x03, 0xFB, 0xFA, 0xFB, 0xFB, 0xFB, 0xFC, 0x13, 0xFC}},
        {"check byte FA", 0x1234, 0x1C, {}, {0xFA, 0x34, 0x12, 0x1C, 0x00, 0xFB, 0xFA, 0xFC}},
        {"check byte FB", 0x1234, 0xED, {}, {0xFA, 0x34, 0x12, 0xED, 0x00, 0xFB, 0xFB, 0xFC}},
        {"check byte FC", 0x1234, 0x34, {}, {0xFA, 0x34, 0x12, 0x34, 0x00, 0xFB, 0xFC, 0xFC}},
        {"length FA", 0x1234, 0x0F, Bytes(250, 0), withZeros({0xFA, 0x34, 0x12, 0x0F, 0xFB, 0xFA}, 250, {0x92, 0xFC})},
        {"length FB", 0x1234, 0x0F, Bytes(251, 0), withZeros({0xFA, 0x34, 0x12, 0x0F, 0xFB, 0xFB}, 251, {0x06, 0xFC})},
        {"length FC", 0x1234, 0x0F, Bytes(252, 0), withZeros({0xFA, 0x34, 0x12, 0x0F, 0xFB, 0xFC}, 252, {0x13, 0xFC})},
    };
    return rows;
}

TEST(BuildFrame, WritesEveryRowByteForByte)
{
    for (const FrameRow& row : frameRows()) {
        EXPECT_EQ(buildFrame(row.unitNumber, row.opcode, row.payload.data(), uint8_t(row.payload.size())), row.wire)
            << row.what;
    }
}

TEST(BuildFrame, StuffedFrameStaysWithinTwiceItsLength)
{
    const Bytes payload(255, 0xFB);
    const Bytes wire = buildFrame(0xFAFA, 0xFC, payload.data(), 255);
    EXPECT_LE(wire.size(), 2u * (6 + 255));
}

class SendFrameTest : public LinkTest {};

TEST_F(SendFrameTest, WritesTheRowsOnTheSocketWithTheLinkUnitNumber)
{
    size_t expectedBytes = 0;
    for (const FrameRow& row : frameRows()) {
        link->unitNumber = row.unitNumber;
        link->SendFrame(row.opcode, row.payload.data(), int(row.payload.size()));
        expectedBytes += row.wire.size();
    }
    ASSERT_TRUE(peer->waitForBytes(expectedBytes, 2000));
    const auto got = requests();
    ASSERT_EQ(got.size(), frameRows().size());
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_EQ(got[i].wire, frameRows()[i].wire) << frameRows()[i].what;
}

TEST_F(SendFrameTest, NotifiesBeforeEachFrame)
{
    ActivityLog activity;
    link->activity = &activity;
    link->SendFrame(5, nullptr, 0);
    const uint8_t chunk[3] = {1, 2, 3};
    link->SendChunk(chunk, 3);
    EXPECT_EQ(activity.seen, "SS");
}

TEST_F(SendFrameTest, ChunkFrameCarriesItsLengthHighByteFirstUnstuffed)
{
    const Bytes chunk = {0xFA, 0xFB, 0xFC, 0x00};
    link->SendChunk(chunk.data(), int(chunk.size()));
    Bytes big(0x0123, 0xFC);
    link->SendChunk(big.data(), int(big.size()));
    const Bytes head = {0x00, 0x04, 0xFA, 0xFB, 0xFC, 0x00, 0x01, 0x23};
    ASSERT_TRUE(peer->waitForBytes(head.size() + big.size(), 2000));
    const Bytes got = peer->receivedBytes();
    EXPECT_EQ(Bytes(got.begin(), got.begin() + 8), head);
    EXPECT_EQ(got.size(), head.size() + big.size());
}

TEST_F(SendFrameTest, ChunkOfMoreThan15BitsSendsExactlyTheLengthItDeclares)
{
    Bytes big(0x8003);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = uint8_t(i * 7);
    link->SendChunk(big.data(), int(big.size()));
    const Bytes next = {0xAB};
    link->SendChunk(next.data(), 1);
    // Three bytes declared, three sent, and the next frame right behind.
    const Bytes expected = {0x00, 0x03, 0x00, 0x07, 0x0E, 0x00, 0x01, 0xAB};
    ASSERT_TRUE(peer->waitForBytes(expected.size(), 2000));
    EXPECT_FALSE(peer->waitForBytes(expected.size() + 1, 50));
    EXPECT_EQ(peer->receivedBytes(), expected);
}

TEST(BuildChunkFrame, TakesTheLengthModulo0x8000)
{
    const Bytes data(0x8001, 0x55);
    const Bytes wire = buildChunkFrame(data.data(), data.size());
    EXPECT_EQ(wire, (Bytes{0x00, 0x01, 0x55}));
    const Bytes seven(0x7FFF, 0x55);
    const Bytes wire7 = buildChunkFrame(seven.data(), seven.size());
    EXPECT_EQ(wire7[0], 0x7F);
    EXPECT_EQ(wire7[1], 0xFF);
}

}  // namespace
}  // namespace ravo::test
