// The primitives and the setting commands over the socket: the request each
// sends, the reply each accepts, and the conversions on the way.
#include <gtest/gtest.h>

#include "link/frame_format.h"
#include "tests/link/link_fixture.h"

namespace ravo::test {
namespace {

using Bytes = std::vector<uint8_t>;

class CommandTest : public LinkTest {
protected:
    void ack() { peer->queueBytes(replyFrame(0x1234, 0)); }
    ReceivedRequest lastRequest() const
    {
        auto all = requests();
        return all.empty() ? ReceivedRequest{} : all.back();
    }
};

class SilentCommandTest : public CommandTest {
protected:
    void SetUp() override
    {
        CommandTest::SetUp();
        link->setClock(&fast);
    }
    ScaledClock fast{40.0};
};

TEST_F(CommandTest, ReadsTakeTheirBytesLittleEndian)
{
    peer->queueBytes(replyFrame(0x1234, 9, {0x02}));
    peer->queueBytes(replyFrame(0x1234, 22, {0x34, 0x12, 0xFF}));
    peer->queueBytes(replyFrame(0x1234, 38, {0x01, 0x02, 0x03, 0x04}));
    uint8_t b = 0;
    uint16_t w = 0;
    uint32_t d = 0;
    EXPECT_EQ(link->ReadByte(UNIT_CMD_GET_METRIC, b), 1);
    EXPECT_EQ(link->ReadWord(UNIT_CMD_GET_VOLTAGE, w), 1);
    EXPECT_EQ(link->ReadDword(UNIT_CMD_GET_CLOCK, d), 1);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(w, 0x1234);
    EXPECT_EQ(d, 0x04030201u);
    for (const auto& r : requests())
        EXPECT_TRUE(r.payload.empty());
}

TEST_F(SilentCommandTest, ShortOrForeignRepliesFailWithZeroOutput)
{
    peer->queueBytes(replyFrame(0x1234, 9));                // no byte
    peer->queueBytes(replyFrame(0x1234, 22, {0x34}));       // one byte for a word
    peer->queueBytes(replyFrame(0x1234, 38, {1, 2, 3}));    // three for a dword
    peer->queueBytes(replyFrame(0x1234, 23, {0x34, 0x12}));  // another opcode
    uint8_t b = 9;
    uint16_t w = 9;
    uint32_t d = 9;
    EXPECT_EQ(link->ReadByte(UNIT_CMD_GET_METRIC, b), 0);
    EXPECT_EQ(link->ReadWord(UNIT_CMD_GET_VOLTAGE, w), 0);
    EXPECT_EQ(link->ReadDword(UNIT_CMD_GET_CLOCK, d), 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(d, 0u);
    EXPECT_EQ(link->ReadWord(UNIT_CMD_GET_VOLTAGE, w), 0);
}

TEST_F(CommandTest, WritesSendLittleEndianAndNeedAnAcknowledgement)
{
    ack();
    ack();
    ack();
    ack();
    EXPECT_EQ(link->WriteByte(UNIT_CMD_SET_METRIC, 0xFA), 1);
    EXPECT_EQ(link->WriteWord(UNIT_CMD_SET_DIL_HE, 0x1234), 1);
    EXPECT_EQ(link->WriteDword(UNIT_CMD_SET_CLOCK, 0x11223344), 1);
    EXPECT_EQ(link->WriteBytes(UNIT_CMD_SET_BACKLIGHT, 0xAA, 0xBB), 1);
    const auto sent = requests();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0].payload, Bytes{0xFA});
    EXPECT_EQ(sent[1].payload, (Bytes{0x34, 0x12}));
    EXPECT_EQ(sent[2].payload, (Bytes{0x44, 0x33, 0x22, 0x11}));
    EXPECT_EQ(sent[3].payload, (Bytes{0xAA, 0xBB}));
    // The stuffed byte went out escaped.
    EXPECT_EQ(sent[0].wire, (Bytes{0xFA, 0x34, 0x12, 0x08, 0x01, 0xFB, 0xFA,
                                   crc8(Bytes{0xFA, 0x34, 0x12, 0x08, 0x01, 0xFA}.data(), 6), 0xFC}));
}

TEST_F(CommandTest, AcknowledgementPayloadIsIgnored)
{
    peer->queueBytes(replyFrame(0x1234, 0, {1, 2, 3}));
    EXPECT_EQ(link->SetMetric(true), 1);
}

TEST_F(CommandTest, WriteAnsweredWithItsOwnOpcodeFails)
{
    peer->queueBytes(replyFrame(0x1234, 8));
    EXPECT_EQ(link->SetMetric(true), 0);
}

TEST_F(CommandTest, BacklightBothWays)
{
    peer->queueBytes(replyFrame(0x1234, 7, {255, 128}));
    int bright = 0, off = 0;
    EXPECT_EQ(link->GetBacklight(bright, off), 1);
    EXPECT_EQ(bright, 100);
    EXPECT_EQ(off, 50);
    ack();
    EXPECT_EQ(link->SetBacklight(100, 50), 1);
    EXPECT_EQ(lastRequest().opcode, 6);
    EXPECT_EQ(lastRequest().payload, (Bytes{255, 127}));
}

TEST_F(SilentCommandTest, BacklightNeedsTwoBytes)
{
    peer->queueBytes(replyFrame(0x1234, 7, {255}));
    int bright = 5, off = 5;
    EXPECT_EQ(link->GetBacklight(bright, off), 0);
    EXPECT_EQ(bright, 0);
    EXPECT_EQ(off, 0);
}

TEST_F(CommandTest, HudBrightnessBothWays)
{
    peer->queueBytes(replyFrame(0x1234, 40, {3, 0}));
    uint16_t percent = 0;
    EXPECT_EQ(link->GetHudBrightness(percent), 1);
    EXPECT_EQ(percent, 75);
    ack();
    EXPECT_EQ(link->SetHudBrightness(60), 1);
    EXPECT_EQ(lastRequest().payload, (Bytes{2, 0}));
}

TEST_F(CommandTest, SetpointOf115BarIsWrittenAs114)
{
    ack();
    EXPECT_EQ(link->SetSetpointSurface(1.15), 1);
    EXPECT_EQ(lastRequest().opcode, 44);
    EXPECT_EQ(lastRequest().payload, (Bytes{114, 0}));
    link->unitFirmwareVersion = 0x4700;
    ack();
    EXPECT_EQ(link->SetSetpointDepth(1.3), 1);
    EXPECT_EQ(lastRequest().opcode, 53);
    EXPECT_EQ(lastRequest().payload, (Bytes{130, 0}));
}

TEST_F(CommandTest, ScaledWritesKeepTheirLowBits)
{
    ack();
    ack();
    EXPECT_EQ(link->SetDilSize(25.6), 1);  // 256 in the low 8 bits
    EXPECT_EQ(lastRequest().payload, Bytes{0});
    EXPECT_EQ(link->SetDilPressure(20.09), 1);
    EXPECT_EQ(lastRequest().opcode, 85);
    EXPECT_EQ(lastRequest().payload, (Bytes{200, 0}));
}

TEST_F(CommandTest, ScaledReads)
{
    struct Row {
        uint8_t opcode;
        Bytes payload;
        double expected;
        int (irda_cmd::*read)(double&);
    };
    const Row rows[] = {
        {16, {115, 0}, 1.15, &irda_cmd::GetSetpointSurface},
        {17, {130, 0}, 1.30, &irda_cmd::GetSetpointDepth},
        {22, {0xD2, 0x0F}, 4.050, &irda_cmd::GetBatteryVoltage},
        {31, {30}, 3.0, &irda_cmd::GetOxygenSize},
        {32, {25}, 2.5, &irda_cmd::GetDilSize},
        {35, {0x2C, 0x01}, 30.0, &irda_cmd::GetCounterLung},
        {82, {0xD0, 0x07}, 200.0, &irda_cmd::GetOxygenPressure},
        {84, {0xC8, 0x00}, 20.0, &irda_cmd::GetDilPressure},
    };
    for (const Row& row : rows) {
        peer->queueBytes(replyFrame(0x1234, row.opcode, row.payload));
        double value = -1;
        EXPECT_EQ((link.get()->*row.read)(value), 1) << int(row.opcode);
        EXPECT_NEAR(value, row.expected, 1e-9) << int(row.opcode);
        EXPECT_EQ(lastRequest().opcode, row.opcode);
    }
}

TEST_F(CommandTest, SecondMapReads)
{
    link->unitFirmwareVersion = 0x4925;
    peer->queueBytes(replyFrame(0x1234, 46, {0xA0, 0x0F}));
    peer->queueBytes(replyFrame(0x1234, 76, {2}));
    peer->queueBytes(replyFrame(0x1234, 47, {45}));
    peer->queueBytes(replyFrame(0x1234, 48, {0x39, 0x30}));
    peer->queueBytes(replyFrame(0x1234, 49, {0x10, 0x00, 0x00, 0x20}));
    double metres = 0;
    int mouthpiece = 0, tts = 0;
    uint16_t serial = 0;
    uint32_t service = 0;
    EXPECT_EQ(link->GetDepthLimit(metres), 1);
    EXPECT_EQ(link->GetMouthpiece(mouthpiece), 1);
    EXPECT_EQ(link->GetMaxTts(tts), 1);
    EXPECT_EQ(link->GetBatterySerial(serial), 1);
    EXPECT_EQ(link->GetServiceTime(service), 1);
    EXPECT_NEAR(metres, 400.0, 1e-9);
    EXPECT_EQ(mouthpiece, 2);
    EXPECT_EQ(tts, 45);
    EXPECT_EQ(serial, 12345);
    EXPECT_EQ(service, 0x20000010u);
}

TEST_F(CommandTest, DecoAvailable0xFFLeavesTheValue)
{
    link->unitFirmwareVersion = 0x4700;
    peer->queueBytes(replyFrame(0x1234, 43, {0xFF}));
    peer->queueBytes(replyFrame(0x1234, 43, {0x00}));
    peer->queueBytes(replyFrame(0x1234, 43, {0x02}));
    bool available = true;
    EXPECT_EQ(link->GetDecoAvailable(available), 1);
    EXPECT_TRUE(available);
    EXPECT_EQ(link->GetDecoAvailable(available), 1);
    EXPECT_FALSE(available);
    EXPECT_EQ(link->GetDecoAvailable(available), 1);
    EXPECT_TRUE(available);
}

TEST_F(CommandTest, FlagsAreNonZero)
{
    peer->queueBytes(replyFrame(0x1234, 11, {7}));
    peer->queueBytes(replyFrame(0x1234, 20, {0}));
    bool decimal = false, highRes = true;
    EXPECT_EQ(link->GetDecimal(decimal), 1);
    EXPECT_EQ(link->GetHighRes(highRes), 1);
    EXPECT_TRUE(decimal);
    EXPECT_FALSE(highRes);
}

TEST_F(CommandTest, SystemModeAndModuleTypes)
{
    peer->queueBytes(replyFrame(0x1234, 77, {1, 2, 3}));
    peer->queueBytes(replyFrame(0x1234, 50, {4, 5}));
    uint8_t mode = 0, test = 0, error = 0, battery = 0, module = 0;
    EXPECT_EQ(link->GetSystemMode(mode, test, error), 1);
    EXPECT_EQ(link->GetModuleTypes(battery, module), 1);
    EXPECT_EQ((Bytes{mode, test, error, battery, module}), (Bytes{1, 2, 3, 4, 5}));
}

TEST_F(SilentCommandTest, SystemModeNeedsThreeBytes)
{
    peer->queueBytes(replyFrame(0x1234, 77, {1, 2}));
    uint8_t mode = 9, test = 9, error = 9;
    EXPECT_EQ(link->GetSystemMode(mode, test, error), 0);
    EXPECT_EQ((Bytes{mode, test, error}), (Bytes{0, 0, 0}));
}

TEST_F(CommandTest, RecoveryCommandsCarryTheirFixedValues)
{
    link->unitFirmwareVersion = 0x4700;
    ack();
    ack();
    ack();
    EXPECT_EQ(link->SendRecoveryWord(), 1);
    EXPECT_EQ(link->SetRecoveryFlag(), 1);
    EXPECT_EQ(link->SetUnitNumber(0x0ABC), 1);
    const auto sent = requests();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].opcode, 105);
    EXPECT_EQ(sent[0].payload, (Bytes{0x81, 0x7E}));
    EXPECT_EQ(sent[1].opcode, 117);
    EXPECT_EQ(sent[1].payload, Bytes{1});
    EXPECT_EQ(sent[2].opcode, 83);
    EXPECT_EQ(sent[2].payload, (Bytes{0xBC, 0x0A}));
}

TEST_F(CommandTest, ResetsAndBootloaderEntry)
{
    for (int i = 0; i < 4; ++i)
        ack();
    EXPECT_EQ(link->ResetTissues(), 1);
    EXPECT_EQ(link->ResetOtu(), 1);
    EXPECT_EQ(link->EnterBootloader(true), 1);
    EXPECT_EQ(link->SetServiceDate(0x01020304), 1);
    const auto sent = requests();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0].opcode, 59);
    EXPECT_EQ(sent[1].opcode, 60);
    EXPECT_EQ(sent[2].opcode, 42);
    EXPECT_EQ(sent[2].payload, Bytes{1});
    EXPECT_EQ(sent[3].opcode, 58);
    EXPECT_EQ(sent[3].payload, (Bytes{4, 3, 2, 1}));
}

TEST_F(CommandTest, VersionsReplyIsCutTo15Bytes)
{
    Bytes long_(20);
    for (size_t i = 0; i < long_.size(); ++i)
        long_[i] = uint8_t(i + 1);
    peer->queueBytes(replyFrame(0x1234, 5, long_));
    uint8_t bytes[15];
    int count = 0;
    EXPECT_EQ(link->ReadVersions(bytes, count), 1);
    EXPECT_EQ(count, 15);
    EXPECT_EQ(bytes[14], 15);
}

TEST_F(SilentCommandTest, MissingReplyFailsEveryKindOfCommand)
{
    uint16_t w = 1;
    int bright = 1, off = 1;
    LogDirectoryEntry entry;
    entry.startTime = 5;
    EXPECT_EQ(link->GetOtu(w), 0);
    EXPECT_EQ(link->SetOxygenPart(21), 0);
    EXPECT_EQ(link->GetBacklight(bright, off), 0);
    EXPECT_EQ(link->ReadLogEntry(UNIT_CMD_GET_DIVE_INFO, 0, entry), 0);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(entry.startTime, 0u);
    EXPECT_EQ(requests().size(), 4u);
}

}  // namespace
}  // namespace ravo::test
