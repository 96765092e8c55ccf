#pragma once
#include <map>
#include <memory>
#include <vector>

#include "jobs/work_task.h"
#include "link/clock.h"
#include "link/unit_commands.h"
#include "support/link_script_peer.h"
#include "support/recording_events.h"

namespace ravo::test {

inline std::vector<uint8_t> le16(uint16_t v) { return {uint8_t(v), uint8_t(v >> 8)}; }
inline std::vector<uint8_t> le32(uint32_t v)
{
    return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
}

// A unit on a real socket that answers each read from a table, keyed by
// command and placed at the opcode of its firmware's map; any other request
// gets the write acknowledgement (opcode 0), which a read does not accept.
// Commands left out of the table therefore fail at once.
struct UnitTable {
    uint32_t version = 0x4925;
    uint16_t unitNumber = 0x1234;
    std::map<UnitCommand, std::vector<uint8_t>> reads;
    bool answerChallenge = true;

    static UnitTable typical(uint32_t version)
    {
        UnitTable t;
        t.version = version;
        t.reads = {
            {UNIT_CMD_GET_VERSIONS, {1, 2, 3, 4, 5, 6, 7, 8, uint8_t(version), uint8_t(version >> 8), 0, 0, 0, 0, 0}},
            {UNIT_CMD_GET_VOLTAGE, le16(4100)},
            {UNIT_CMD_GET_BACKLIGHT, {127, 64}},
            {UNIT_CMD_GET_METRIC, {1}},
            {UNIT_CMD_GET_DECIMAL, {0}},
            {UNIT_CMD_GET_HIGH_RES, {1}},
            {UNIT_CMD_GET_SETPOINT_SURFACE, le16(70)},
            {UNIT_CMD_GET_SETPOINT_DEPTH, le16(130)},
            {UNIT_CMD_GET_VDOT_DAMPING, {2}},
            {UNIT_CMD_GET_O2_SENSOR1, {45}},
            {UNIT_CMD_GET_O2_SENSOR2, {47}},
            {UNIT_CMD_GET_DIL_N2, le16(79)},
            {UNIT_CMD_GET_DIL_HE, le16(0)},
            {UNIT_CMD_GET_OXYGEN_PART, le16(98)},
            {UNIT_CMD_GET_OXYGEN_SIZE, {30}},
            {UNIT_CMD_GET_DIL_SIZE, {20}},
            {UNIT_CMD_GET_RMV, {25}},
            {UNIT_CMD_GET_COUNTER_LUNG, le16(57)},
            {UNIT_CMD_GET_HUD_BRIGHTNESS, le16(2)},
            {UNIT_CMD_GET_CLOCK, le32(800000000)},
            {UNIT_CMD_GET_TIME_TO_FLY, le32(800003600)},
            {UNIT_CMD_GET_OXYGEN_PRESSURE, le16(2000)},
            {UNIT_CMD_GET_DIL_PRESSURE, le16(2320)},
            {UNIT_CMD_GET_MOUTHPIECE, {1}},
            {UNIT_CMD_GET_DEPTH_LIMIT, le16(600)},
            {UNIT_CMD_GET_DECO_AVAILABLE, {1}},
            {UNIT_CMD_GET_DECO_ENABLED, {1}},
            {UNIT_CMD_GET_MAX_TTS, {30}},
            {UNIT_CMD_GET_BATTERY_SR, le16(0x00AB)},
            {UNIT_CMD_GET_SERVICE_TIME, le32(790000000)},
            {UNIT_CMD_GET_SYSTEM_MODE, {2, 0, 255}},
            {UNIT_CMD_GET_MODULE_TYPES, {5, 2}},
            {UNIT_CMD_GET_OTU, le16(12)},
        };
        return t;
    }

    LinkScriptPeer::Handler handler() const
    {
        std::map<uint8_t, std::vector<uint8_t>> byOpcode;
        for (const auto& [command, payload] : reads) {
            int op = unitOpcode(command, version);
            if (op >= 0)
                byOpcode[uint8_t(op)] = payload;
        }
        const uint16_t unit = unitNumber;
        const bool challenge = answerChallenge;
        return [byOpcode, unit, challenge](const ReceivedRequest& request) -> ScriptedAnswer {
            if (request.unitNumber != unit)
                return {};  // addressed to another unit
            if (request.opcode == 2)
                return challenge ? ScriptedAnswer{{0, replyFrame(unit, 3, {0x11, 0x22, 0x33, 0x44})}}
                                 : ScriptedAnswer{};
            auto it = byOpcode.find(request.opcode);
            if (it != byOpcode.end())
                return {{0, replyFrame(unit, request.opcode, it->second)}};
            return {{0, replyFrame(unit, 0, {})}};
        };
    }
};

// A worker whose link reaches a scripted unit, with link time running fast.
struct UnitBench {
    explicit UnitBench(const UnitTable& table) : peer(table.handler()), unitNumber(table.unitNumber)
    {
        peer.letSilenceExpire(&clock, kReplyWaitMs);
        worker.setLinkAddress(peer.address());
        worker.setClock(&clock);
    }
    ~UnitBench() { worker.setClock(nullptr); }

    JobOutcome run(JobRequest request)
    {
        receiver.clear();
        worker.start(std::move(request), receiver);
        worker.waitFinished(20000);
        return worker.lastOutcome();
    }
    // The information read (the settings read alone with `settingsOnly`).
    void readInfo(bool settingsOnly = false, bool keepLinkOpen = false)
    {
        run(ReadInfoRequest{unitNumber, settingsOnly, keepLinkOpen});
    }
    // What the last information read returned.
    ReadInfoResult info() const
    {
        const JobOutcome outcome = worker.lastOutcome();
        const ReadInfoResult* read = outcome.as<ReadInfoResult>();
        return read ? *read : ReadInfoResult{};
    }
    UnitSettings settings() const { return info().settings.value_or(UnitSettings{}); }

    // Requests the unit received with `opcode`.
    std::vector<ReceivedRequest> requestsWith(uint8_t opcode) const
    {
        std::vector<ReceivedRequest> out;
        for (const auto& r : peer.requests())
            if (r.opcode == opcode)
                out.push_back(r);
        return out;
    }

    static constexpr uint32_t kReplyWaitMs = 2500;
    PatientClock clock{40.0};
    LinkScriptPeer peer;
    uint16_t unitNumber;
    WorkTask worker;
    RecordingEvents receiver;
};

}  // namespace ravo::test
