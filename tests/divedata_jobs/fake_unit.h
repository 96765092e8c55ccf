#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "link/handshake.h"
#include "link/unit_commands.h"
#include "support/link_script_peer.h"

namespace ravo::test {

// A unit's logs behind a scripted peer: answers the directory, header and
// data requests of both kinds, and the access handshake, like the unit does.
struct FakeLog {
    uint32_t startTime = 0;
    uint16_t aux = 0;
    std::vector<uint8_t> header = std::vector<uint8_t>(256);
    std::vector<uint8_t> body;  // 4 bytes per record
    uint32_t claimedRecords = UINT32_MAX;  // entry's count; the body's when unset
    uint32_t records() const { return claimedRecords != UINT32_MAX ? claimedRecords : uint32_t(body.size() / 4); }
};

class FakeUnit {
public:
    uint16_t unitNumber = 0x1234;
    uint32_t firmware = 0x4922;
    std::vector<FakeLog> dives;
    std::vector<FakeLog> redboxes;
    int silentEntry = -1;            // this directory entry gets no answer
    int silentAfterDataRequests = -1;  // data requests answered before silence
    bool refuseHandshake = false;

    ScriptedAnswer answer(const ReceivedRequest& request)
    {
        std::lock_guard lock(mutex_);
        const uint8_t op = request.opcode;
        const auto& p = request.payload;
        auto frame = [&](std::vector<uint8_t> payload) {
            return ScriptedAnswer{{0, replyFrame(unitNumber, op, payload)}};
        };
        if (op == unitOpcode(UNIT_CMD_GET_VERSIONS, firmware)) {
            std::vector<uint8_t> v(15);
            v[8] = uint8_t(firmware);
            v[9] = uint8_t(firmware >> 8);
            return frame(v);
        }
        if (op == unitOpcode(UNIT_CMD_GET_CHALLENGE, firmware)) {
            challenge_ = {0x5A, 0x13, 0xC4, 0x7E};
            return ScriptedAnswer{{0, replyFrame(unitNumber, kChallengeOpcode, challenge_)}};
        }
        if (op == unitOpcode(UNIT_CMD_SEND_RESPONSE, firmware)) {
            uint8_t expected[4];
            handshakeResponse(firmware, challenge_.data(), expected);
            bool ok = !refuseHandshake && p.size() == 4 && std::equal(p.begin(), p.end(), expected);
            if (ok)
                unlocked_ = true;
            return ok ? ScriptedAnswer{{0, replyFrame(unitNumber, kAckOpcode)}} : ScriptedAnswer{};
        }
        for (bool redbox : {false, true}) {
            std::vector<FakeLog>& logs = redbox ? redboxes : dives;
            auto op4 = [&](UnitCommand dive, UnitCommand box) {
                return op == unitOpcode(redbox ? box : dive, redbox ? (unlocked_ ? firmware : 0) : firmware);
            };
            if (redbox && !unlocked_)
                continue;
            if (op4(UNIT_CMD_GET_DIVE_COUNT, UNIT_CMD_GET_REDBOX_COUNT))
                return frame({uint8_t(logs.size()), uint8_t(logs.size() >> 8)});
            if (op4(UNIT_CMD_GET_DIVE_INFO, UNIT_CMD_GET_REDBOX_INFO)) {
                size_t i = size_t(p[0] | p[1] << 8);
                if (i >= logs.size() || int(i) == silentEntry)
                    return {};
                const FakeLog& log = logs[i];
                uint32_t n = log.records();
                return frame({uint8_t(log.startTime), uint8_t(log.startTime >> 8), uint8_t(log.startTime >> 16),
                              uint8_t(log.startTime >> 24), uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16),
                              uint8_t(n >> 24), uint8_t(log.aux), uint8_t(log.aux >> 8)});
            }
            if (op4(UNIT_CMD_GET_DIVE_HEADER, UNIT_CMD_GET_REDBOX_HEADER)) {
                size_t i = size_t(p[0] | p[1] << 8);
                size_t offset = size_t(p[2] | p[3] << 8);
                if (i >= logs.size() || offset >= 256)
                    return {};
                headerOf = i;
                size_t n = std::min<size_t>(100, 256 - offset);
                return frame(std::vector<uint8_t>(logs[i].header.begin() + long(offset),
                                                  logs[i].header.begin() + long(offset + n)));
            }
            if (op4(UNIT_CMD_GET_DIVE_DATA, UNIT_CMD_GET_REDBOX_DATA)) {
                dataPositions.push_back(uint32_t(p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24));
                if (silentAfterDataRequests >= 0 && int(dataPositions.size()) > silentAfterDataRequests)
                    return {};
                // The data requests name no log: the one whose header was read last.
                const FakeLog& log = logs[lastHeader(redbox)];
                size_t at = size_t(dataPositions.back()) * 4;
                if (at >= log.body.size())
                    return frame({});
                size_t n = std::min<size_t>(100, log.body.size() - at);
                return frame(std::vector<uint8_t>(log.body.begin() + long(at), log.body.begin() + long(at + n)));
            }
        }
        return {};
    }

    std::vector<uint32_t> dataPositions;
    size_t headerOf = 0;

private:
    size_t lastHeader(bool) const { return headerOf; }
    std::mutex mutex_;
    std::vector<uint8_t> challenge_ = std::vector<uint8_t>(4);
    bool unlocked_ = false;
};

// A log of `records` records with distinct contents.
inline FakeLog makeFakeLog(uint32_t start, uint32_t records, uint8_t seed)
{
    FakeLog log;
    log.startTime = start;
    log.aux = uint16_t(seed * 3);
    log.header[0] = 0xFF;
    log.header[1] = 0xFF;
    for (size_t i = 4; i < 256; ++i)
        log.header[i] = uint8_t(i * 7 + seed);
    for (uint32_t r = 0; r < records; ++r) {
        uint16_t t = uint16_t(r * 10);
        log.body.insert(log.body.end(), {uint8_t(t), uint8_t(t >> 8), uint8_t(r % 3 == 0 ? 8 : 39),
                                         uint8_t(r + seed)});
    }
    return log;
}

}  // namespace ravo::test
