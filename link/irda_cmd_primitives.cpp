#include <algorithm>
#include <cstring>

#include "link/handshake.h"
#include "link/irda_cmd.h"

namespace ravo {
namespace {

uint16_t le16(const std::vector<uint8_t>& p, size_t at)
{
    return uint16_t(p[at] | (p[at + 1] << 8));
}

uint32_t le32(const std::vector<uint8_t>& p, size_t at)
{
    return uint32_t(p[at]) | uint32_t(p[at + 1]) << 8 | uint32_t(p[at + 2]) << 16 | uint32_t(p[at + 3]) << 24;
}

constexpr int kBlockTries = 5;

}  // namespace

int irda_cmd::readPayload(UnitCommand cmd, int minimum, UnitReply& reply)
{
    if (!Exchange(cmd, nullptr, 0, reply))
        return 0;
    return reply.opcode == opcodeOf(cmd) && reply.length >= minimum ? 1 : 0;
}

int irda_cmd::write(UnitCommand cmd, const uint8_t* payload, int n)
{
    UnitReply reply;
    return Exchange(cmd, payload, n, reply) && reply.opcode == kAckOpcode ? 1 : 0;
}

int irda_cmd::ReadByte(UnitCommand cmd, uint8_t& out)
{
    UnitReply reply;
    out = 0;
    if (!readPayload(cmd, 1, reply))
        return 0;
    out = reply.payload[0];
    return 1;
}

int irda_cmd::ReadWord(UnitCommand cmd, uint16_t& out)
{
    UnitReply reply;
    out = 0;
    if (!readPayload(cmd, 2, reply))
        return 0;
    out = le16(reply.payload, 0);
    return 1;
}

int irda_cmd::ReadDword(UnitCommand cmd, uint32_t& out)
{
    UnitReply reply;
    out = 0;
    if (!readPayload(cmd, 4, reply))
        return 0;
    out = le32(reply.payload, 0);
    return 1;
}

int irda_cmd::WriteByte(UnitCommand cmd, uint8_t v)
{
    return write(cmd, &v, 1);
}

int irda_cmd::WriteWord(UnitCommand cmd, uint16_t v)
{
    const uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
    return write(cmd, b, 2);
}

int irda_cmd::WriteDword(UnitCommand cmd, uint32_t v)
{
    const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    return write(cmd, b, 4);
}

int irda_cmd::WriteBytes(UnitCommand cmd, uint8_t b0, uint8_t b1)
{
    const uint8_t b[2] = {b0, b1};
    return write(cmd, b, 2);
}

int irda_cmd::ReadChallenge(uint8_t challenge[4])
{
    std::memset(challenge, 0, 4);
    const uint8_t request = 4;
    UnitReply reply;
    if (!Exchange(UNIT_CMD_GET_CHALLENGE, &request, 1, reply) || reply.opcode != kChallengeOpcode)
        return 0;
    std::copy_n(reply.payload.begin(), std::min(reply.length, 4), challenge);
    return 1;
}

int irda_cmd::SendResponse(const uint8_t response[4])
{
    return write(UNIT_CMD_SEND_RESPONSE, response, 4);
}

int irda_cmd::Handshake(uint32_t version)
{
    setLinkFirmwareVersion(version);
    uint8_t challenge[4];
    if (!ReadChallenge(challenge))
        return 0;
    uint8_t response[4];
    handshakeResponse(version, challenge, response);
    return SendResponse(response);
}

int irda_cmd::ReadVersions(uint8_t bytes[15], int& count)
{
    std::memset(bytes, 0, 15);
    count = 0;
    UnitReply reply;
    if (!readPayload(UNIT_CMD_GET_VERSIONS, 0, reply))
        return 0;
    count = std::min(reply.length, 15);
    std::copy_n(reply.payload.begin(), count, bytes);
    return 1;
}

int irda_cmd::GetBatteryMillivolts(uint16_t& millivolts)
{
    return ReadWord(UNIT_CMD_GET_VOLTAGE, millivolts);
}

int irda_cmd::SetClock(uint32_t unitTime)
{
    return WriteDword(UNIT_CMD_SET_CLOCK, unitTime);
}

int irda_cmd::EnterBootloader(bool forced)
{
    return WriteByte(UNIT_CMD_ENTER_BOOTLOADER, forced ? 1 : 0);
}

int irda_cmd::PowerDown()
{
    return WriteByte(UNIT_CMD_POWER_DOWN, 1);
}

int irda_cmd::ReadLogCount(UnitCommand cmd, uint16_t& count)
{
    return ReadWord(cmd, count);
}

int irda_cmd::ReadLogEntry(UnitCommand cmd, uint16_t logIndex, LogDirectoryEntry& entry)
{
    entry = LogDirectoryEntry{};
    const uint8_t request[2] = {uint8_t(logIndex), uint8_t(logIndex >> 8)};
    UnitReply reply;
    if (!Exchange(cmd, request, 2, reply) || reply.opcode != opcodeOf(cmd))
        return 0;
    entry = DecodeLogEntry(reply.payload.data(), size_t(reply.length));
    return 1;
}

int irda_cmd::ReadHeaderBlocks(UnitCommand cmd, uint16_t logIndex, uint8_t header[kHeaderSize])
{
    int offset = 0;
    int tries = kBlockTries;
    while (tries > 0) {
        const uint8_t request[4] = {uint8_t(logIndex), uint8_t(logIndex >> 8), uint8_t(offset),
                                    uint8_t(offset >> 8)};
        UnitReply reply;
        if (Exchange(cmd, request, 4, reply) && reply.opcode == opcodeOf(cmd) && reply.length > 0) {
            // Bytes beyond the header's end are dropped.
            std::copy_n(reply.payload.begin(), std::min(reply.length, kHeaderSize - offset), header + offset);
            offset += reply.length;
            tries = kBlockTries;
        } else {
            --tries;
        }
        if (offset >= kHeaderSize)
            return 1;
    }
    return 0;
}

int irda_cmd::ReadDataBlock(UnitCommand cmd, uint32_t position, uint8_t* destination, int wanted, int& got)
{
    got = 0;
    wanted = std::clamp(wanted, 0, kMaxDataBlock);
    int tries = kBlockTries;
    while (got < wanted && tries > 0) {
        // After a short reply the next request starts at the first record not
        // wholly stored, and its bytes are stored from that record on: asking
        // again for `position` would store the block's first bytes twice.
        const int kept = got / 4 * 4;
        const uint32_t at = position + uint32_t(kept / 4);
        const uint8_t request[4] = {uint8_t(at), uint8_t(at >> 8), uint8_t(at >> 16), uint8_t(at >> 24)};
        UnitReply reply;
        if (Exchange(cmd, request, 4, reply) && reply.opcode == opcodeOf(cmd) && reply.length > 0) {
            const int stored = std::min(reply.length, wanted - kept);
            std::copy_n(reply.payload.begin(), stored, destination + kept);
            const int before = got;
            got = kept + stored;
            // A reply that adds nothing (less than one record, again) would
            // otherwise be asked for without end.
            tries = got > before ? kBlockTries : tries - 1;
        } else {
            --tries;
        }
    }
    return tries > 0 ? 1 : 0;
}

}  // namespace ravo
