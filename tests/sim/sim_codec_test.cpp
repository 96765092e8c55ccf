#include <gtest/gtest.h>

#include "sim/sim_commands.h"
#include "sim/sim_handshake.h"
#include "sim/sim_request_reader.h"
#include "sim/sim_wire.h"

namespace ravo::sim {
namespace {

struct OpcodeRow {
    SimCommand command;
    int firstMap;
    int secondMap;
};

// The unit's two opcode maps, written out.
const OpcodeRow kOpcodes[] = {
    {SimCommand::GetChallenge, 2, 2},         {SimCommand::SendResponse, 4, 4},
    {SimCommand::GetVersions, 5, 5},          {SimCommand::PowerDown, 57, 72},
    {SimCommand::GetRedboxCount, 75, 94},     {SimCommand::GetRedboxInfo, 76, 95},
    {SimCommand::GetRedboxHeader, 77, 96},    {SimCommand::GetRedboxData, 78, 97},
    {SimCommand::GetOxygenPressure, 82, 101}, {SimCommand::GetDilPressure, 84, 103},
    {SimCommand::GetMouthpiece, 62, 76},      {SimCommand::GetDepthLimit, -1, 46},
    {SimCommand::GetDecoAvailable, -1, 43},   {SimCommand::GetBatterySerial, -1, 48},
    {SimCommand::SetSetpointSurface, 44, 52}, {SimCommand::SetDilSize, 54, 63},
    {SimCommand::SetHighRes, 48, 56},         {SimCommand::SetDilHe, 61, 61},
    {SimCommand::SetDecoEnabled, -1, 64},     {SimCommand::SetMaxTts, -1, 65},
    {SimCommand::SetServiceDate, 58, 73},     {SimCommand::RecoveryWord, 86, 105},
    {SimCommand::RecoveryFlag, 92, 117},      {SimCommand::SetUnitNumber, 64, 83},
    {SimCommand::SetClock, 37, 37},           {SimCommand::GetHudBrightness, 40, 40},
};

TEST(SimOpcodes, BothMapsAsWrittenOut)
{
    for (const OpcodeRow& row : kOpcodes) {
        SCOPED_TRACE(commandName(row.command));
        EXPECT_EQ(opcodeForCommand(row.command, 0x46FF), row.firstMap);
        EXPECT_EQ(opcodeForCommand(row.command, 0x4700), row.secondMap);
        if (row.firstMap >= 0) {
            EXPECT_EQ(commandForOpcode(uint8_t(row.firstMap), 0x4512), row.command);
        }
        EXPECT_EQ(commandForOpcode(uint8_t(row.secondMap), 0x4925), row.command);
    }
}

TEST(SimOpcodes, SharedNumbersMeanWhatTheirMapSays)
{
    // 77 is the redbox header below 0x4700 and the system mode from 0x4925.
    EXPECT_EQ(commandForOpcode(77, 0x4512), SimCommand::GetRedboxHeader);
    EXPECT_EQ(commandForOpcode(77, 0x4925), SimCommand::GetSystemMode);
    EXPECT_EQ(commandForOpcode(76, 0x4512), SimCommand::GetRedboxInfo);
    EXPECT_EQ(commandForOpcode(76, 0x4700), SimCommand::GetMouthpiece);
    // Second-map commands are unknown to the first map.
    EXPECT_EQ(commandForOpcode(46, 0x46FF), SimCommand::Unknown);
    EXPECT_EQ(commandForOpcode(43, 0x4005), SimCommand::Unknown);
    // The service time comes with 0x4922, the status reads with 0x4925.
    EXPECT_EQ(commandForOpcode(49, 0x4921), SimCommand::Unknown);
    EXPECT_EQ(commandForOpcode(49, 0x4922), SimCommand::GetServiceTime);
    EXPECT_EQ(commandForOpcode(27, 0x4924), SimCommand::Unknown);
    EXPECT_EQ(commandForOpcode(27, 0x4925), SimCommand::GetOtu);
    EXPECT_EQ(commandForOpcode(77, 0x4922), SimCommand::Unknown);
    EXPECT_EQ(commandForOpcode(200, 0x4925), SimCommand::Unknown);
}

TEST(SimOpcodes, ProtectedCommands)
{
    EXPECT_TRUE(needsHandshake(SimCommand::GetRedboxCount));
    EXPECT_TRUE(needsHandshake(SimCommand::GetOxygenPressure));
    EXPECT_TRUE(needsHandshake(SimCommand::SetDilN2));
    EXPECT_TRUE(needsHandshake(SimCommand::SetUnitNumber));
    EXPECT_FALSE(needsHandshake(SimCommand::GetVersions));
    EXPECT_FALSE(needsHandshake(SimCommand::SetBacklight));
    EXPECT_FALSE(needsHandshake(SimCommand::GetDiveData));
}

struct HandshakeRow {
    uint16_t version;
    std::array<uint8_t, 4> response;
};

TEST(SimHandshake, ResponsesForChallenge12345678)
{
    const HandshakeRow rows[] = {
        {0x4925, {0x7E, 0x58, 0x61, 0x41}}, {0x4700, {0x7E, 0x58, 0x61, 0x41}},  // A
        {0x46FF, {0xA9, 0x0F, 0xF8, 0x30}}, {0x4303, {0xA9, 0x0F, 0xF8, 0x30}},  // B
        {0x4302, {0x1A, 0x5E, 0xDE, 0xB0}}, {0x4101, {0x1A, 0x5E, 0xDE, 0xB0}},  // C
        {0x4100, {0x12, 0xCC, 0x21, 0xFF}}, {0x0000, {0x12, 0xCC, 0x21, 0xFF}},  // D
    };
    for (const HandshakeRow& row : rows) {
        SCOPED_TRACE(row.version);
        EXPECT_EQ(expectedResponse(row.version, {0x12, 0x34, 0x56, 0x78}), row.response);
    }
}

TEST(SimHandshake, VariantsCAndDUseOnlyTheFirstByte)
{
    EXPECT_EQ(expectedResponse(0x4210, {0x12, 0, 0, 0}), expectedResponse(0x4210, {0x12, 0xFF, 0xEE, 0xDD}));
    EXPECT_EQ(expectedResponse(0x4005, {0x12, 0, 0, 0}), expectedResponse(0x4005, {0x12, 0xFF, 0xEE, 0xDD}));
    EXPECT_NE(expectedResponse(0x4512, {0x12, 0, 0, 0}), expectedResponse(0x4512, {0x12, 0xFF, 0xEE, 0xDD}));
}

std::vector<SimRequest> readAll(const std::vector<uint8_t>& bytes, SimRequestReader& reader)
{
    std::vector<SimRequest> out;
    for (uint8_t b : bytes) {
        SimRequest r;
        if (reader.feed(b, r))
            out.push_back(r);
    }
    return out;
}

struct FrameRow {
    const char* name;
    std::vector<uint8_t> wire;
    int frames;
    uint16_t unitNumber;
    uint8_t opcode;
    std::vector<uint8_t> payload;
};

TEST(SimRequestReader, Frames)
{
    const FrameRow rows[] = {
        {"versions to 1234", {0xFA, 0x34, 0x12, 0x05, 0x00, 0x10, 0xFC}, 1, 0x1234, 5, {}},
        {"versions to 12FA", {0xFA, 0xFB, 0xFA, 0x12, 0x05, 0x00, 0x7E, 0xFC}, 1, 0x12FA, 5, {}},
        {"noise first", {0x00, 0x55, 0xFC, 0xFA, 0x34, 0x12, 0x05, 0x00, 0x10, 0xFC}, 1, 0x1234, 5, {}},
        {"bad check byte", {0xFA, 0x34, 0x12, 0x05, 0x00, 0x11, 0xFC}, 0, 0, 0, {}},
        {"length too long", {0xFA, 0x34, 0x12, 0x05, 0x01, 0x10, 0xFC}, 0, 0, 0, {}},
        {"broken then whole", {0xFA, 0x34, 0x12, 0xFA, 0x34, 0x12, 0x05, 0x00, 0x10, 0xFC}, 1, 0x1234, 5, {}},
    };
    for (const FrameRow& row : rows) {
        SCOPED_TRACE(row.name);
        SimRequestReader reader;
        auto got = readAll(row.wire, reader);
        ASSERT_EQ(int(got.size()), row.frames);
        if (row.frames) {
            EXPECT_EQ(got[0].unitNumber, row.unitNumber);
            EXPECT_EQ(got[0].opcode, row.opcode);
            EXPECT_EQ(got[0].payload, row.payload);
        }
    }
}

TEST(SimRequestReader, EscapedPayloadBytesAndLimit)
{
    std::vector<uint8_t> payload{0xFA, 0xFB, 0xFC, 0x01};
    std::vector<uint8_t> wire = replyFrame(0x1234, 14, payload);
    SimRequestReader reader;
    auto got = readAll(wire, reader);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].payload, payload);
    EXPECT_EQ(got[0].wireBytes, wire.size());

    // A start byte followed by endless data is dropped at the limit; a later
    // frame still gets through.
    std::vector<uint8_t> junk(2001, 0x41);
    junk[0] = 0xFA;
    for (uint8_t b : {0xFA, 0x34, 0x12, 0x05, 0x00, 0x10, 0xFC})
        junk.push_back(b);
    EXPECT_EQ(readAll(junk, reader).size(), 1u);
    EXPECT_GE(reader.rejected(), 1);
}

TEST(SimWire, ReplyFrames)
{
    EXPECT_EQ(replyFrame(0x1234, 0, {}), (std::vector<uint8_t>{0xFA, 0x34, 0x12, 0x00, 0x00, 0x51, 0xFC}));
    EXPECT_EQ(replyFrame(0x1234, 5, {}), (std::vector<uint8_t>{0xFA, 0x34, 0x12, 0x05, 0x00, 0x10, 0xFC}));
    auto bad = replyFrame(0x1234, 0, {}, true);
    EXPECT_EQ(bad, (std::vector<uint8_t>{0xFA, 0x34, 0x12, 0x00, 0x00, 0x0B, 0xFC}));
    EXPECT_EQ(hexBytes(bad), "FA 34 12 00 00 0B FC");
}

}  // namespace
}  // namespace ravo::sim
