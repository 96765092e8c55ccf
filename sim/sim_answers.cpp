#include "sim/sim_answers.h"

#include <algorithm>

#include "sim/sim_handshake.h"

namespace ravo::sim {
namespace {

uint32_t get16(const std::vector<uint8_t>& p, size_t at) { return uint32_t(p[at] | p[at + 1] << 8); }
uint32_t get32(const std::vector<uint8_t>& p, size_t at) { return get16(p, at) | get16(p, at + 2) << 16; }

SimAnswer reply(uint8_t opcode, std::vector<uint8_t> payload)
{
    SimAnswer a;
    a.reply = true;
    a.opcode = opcode;
    a.payload = std::move(payload);
    return a;
}

SimAnswer silence() { return SimAnswer{}; }
SimAnswer ack() { return reply(0, {}); }

std::vector<uint8_t> byte8(uint32_t v) { return {uint8_t(v)}; }
std::vector<uint8_t> word16(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8)}; }
std::vector<uint8_t> dword32(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }

// Handles requests whose payload must hold at least `need` bytes.
struct Request {
    SimCommand command;
    uint8_t opcode;
    const std::vector<uint8_t>& payload;
    bool has(size_t need) const { return payload.size() >= need; }
};

SimAnswer logInfo(const Request& r, const std::vector<SimLog>& logs, int& selected)
{
    if (!r.has(2) || get16(r.payload, 0) >= logs.size())
        return silence();
    selected = int(get16(r.payload, 0));
    const SimLog& log = logs[size_t(selected)];
    std::vector<uint8_t> out = dword32(log.startTime);
    for (uint8_t b : dword32(log.recordCount()))
        out.push_back(b);
    for (uint8_t b : word16(log.auxWord))
        out.push_back(b);
    return reply(r.opcode, out);
}

SimAnswer logHeader(const Request& r, const std::vector<SimLog>& logs, int& selected)
{
    if (!r.has(4) || get16(r.payload, 0) >= logs.size())
        return silence();
    selected = int(get16(r.payload, 0));
    size_t offset = std::min<size_t>(get16(r.payload, 2), 256);
    size_t count = std::min<size_t>(kHeaderBlockMax, 256 - offset);
    const auto& h = logs[size_t(selected)].header;
    return reply(r.opcode, std::vector<uint8_t>(h.begin() + long(offset), h.begin() + long(offset + count)));
}

SimAnswer logData(const Request& r, const std::vector<SimLog>& logs, int selected, int recordsMax)
{
    if (!r.has(4) || selected < 0 || size_t(selected) >= logs.size())
        return silence();
    const SimLog& log = logs[size_t(selected)];
    uint64_t position = get32(r.payload, 0);
    uint64_t count = position < log.recordCount() ? std::min<uint64_t>(recordsMax, log.recordCount() - position) : 0;
    auto begin = log.records.begin() + long(position * 4 * (count > 0));
    return reply(r.opcode, std::vector<uint8_t>(begin, begin + long(count * 4)));
}

SimAnswer sendResponse(const Request& r, const SimState& state, SimSession& session)
{
    auto challenge = session.challenge;
    session.challenge.reset();
    session.authorized = false;
    if (!challenge || !r.has(4))
        return silence();
    auto expected = expectedResponse(state.firmwareVersion(), *challenge);
    if (!std::equal(expected.begin(), expected.end(), r.payload.begin()))
        return silence();
    session.authorized = true;
    return ack();
}

// Writes one raw setting: the value is taken from the payload when it holds
// `size` bytes, and the write is acknowledged.
template <typename T>
SimAnswer store(const Request& r, T& field, size_t size)
{
    if (!r.has(size))
        return silence();
    field = T(size == 1 ? r.payload[0] : size == 2 ? get16(r.payload, 0) : get32(r.payload, 0));
    return ack();
}

SimAnswer answerSetting(const Request& r, SimState& state, SimSession& session, uint32_t unitTime)
{
    SimSettings& s = state.settings;
    const uint8_t op = r.opcode;
    switch (r.command) {
    case SimCommand::GetBacklight: return reply(op, {s.backlightBrightness, s.backlightOffLevel});
    case SimCommand::GetMetric: return reply(op, byte8(s.metric));
    case SimCommand::GetDecimal: return reply(op, byte8(s.decimalMode));
    case SimCommand::GetHighRes: return reply(op, byte8(s.highResO2));
    case SimCommand::GetSetpointSurface: return reply(op, word16(s.setpointSurface));
    case SimCommand::GetSetpointDepth: return reply(op, word16(s.setpointDepth));
    case SimCommand::GetVdotDamping: return reply(op, byte8(s.vdotO2Damping));
    case SimCommand::GetO2Sensor1:
        return state.cells[0].answers ? reply(op, byte8(state.cells[0].millivolts)) : silence();
    case SimCommand::GetO2Sensor2:
        return state.cells[1].answers ? reply(op, byte8(state.cells[1].millivolts)) : silence();
    case SimCommand::GetDilN2: return reply(op, word16(s.dilN2Percent));
    case SimCommand::GetDilHe: return reply(op, word16(s.dilHePercent));
    case SimCommand::GetOxygenPart: return reply(op, word16(s.oxygenPercent));
    case SimCommand::GetOxygenSize: return reply(op, byte8(s.oxygenSize));
    case SimCommand::GetDilSize: return reply(op, byte8(s.dilSize));
    case SimCommand::GetRmv: return reply(op, byte8(s.rmv));
    case SimCommand::GetCounterLung: return reply(op, word16(s.counterLungVolume));
    case SimCommand::GetHudBrightness: return reply(op, word16(s.hudBrightness));
    case SimCommand::GetClock: return reply(op, dword32(unitTime));
    case SimCommand::GetTimeToFly: return reply(op, dword32(s.timeToFly));
    case SimCommand::GetOxygenPressure: return reply(op, word16(s.oxygenPressure));
    case SimCommand::GetDilPressure: return reply(op, word16(s.dilPressure));
    case SimCommand::GetMouthpiece: return reply(op, byte8(s.mouthpiecePosition));
    case SimCommand::GetDepthLimit: return reply(op, word16(s.depthLimit));
    case SimCommand::GetDecoAvailable: return reply(op, byte8(s.decoAvailable));
    case SimCommand::GetDecoEnabled: return reply(op, byte8(s.decoEnabled));
    case SimCommand::GetMaxTts: return reply(op, byte8(s.maxTimeToSurface));
    case SimCommand::GetBatterySerial: return reply(op, word16(s.batterySerial));
    case SimCommand::GetServiceTime: return reply(op, dword32(s.serviceTime));
    case SimCommand::GetSystemMode: return reply(op, {s.systemMode, s.testNumber, s.errorCode});
    case SimCommand::GetModuleTypes: return reply(op, {s.batteryType, s.eModuleType});
    case SimCommand::GetOtu: return reply(op, word16(s.otuValue));

    case SimCommand::SetBacklight:
        if (!r.has(2))
            return silence();
        s.backlightBrightness = r.payload[0];
        s.backlightOffLevel = r.payload[1];
        return ack();
    case SimCommand::SetMetric: return store(r, s.metric, 1);
    case SimCommand::SetDecimal: return store(r, s.decimalMode, 1);
    case SimCommand::SetHudBrightness: return store(r, s.hudBrightness, 2);
    case SimCommand::SetSetpointSurface: return store(r, s.setpointSurface, 2);
    case SimCommand::SetSetpointDepth: return store(r, s.setpointDepth, 2);
    case SimCommand::SetDilSize: return store(r, s.dilSize, 1);
    case SimCommand::SetHighRes: return store(r, s.highResO2, 1);
    case SimCommand::SetOxygenPart: return store(r, s.oxygenPercent, 2);
    case SimCommand::SetDilHe: return store(r, s.dilHePercent, 2);
    case SimCommand::SetDilN2: return store(r, s.dilN2Percent, 2);
    case SimCommand::SetDilPressure: return store(r, s.dilPressure, 2);
    case SimCommand::SetDecoEnabled: return store(r, s.decoEnabled, 1);
    case SimCommand::SetMaxTts: return store(r, s.maxTimeToSurface, 1);
    case SimCommand::SetServiceDate: return store(r, s.serviceTime, 4);
    case SimCommand::ResetTissues:
        if (!r.has(1))
            return silence();
        s.tissueResets = uint8_t(s.tissueResets + 1);
        return ack();
    case SimCommand::ResetOtu:
        if (!r.has(1))
            return silence();
        s.otuValue = 0;
        return ack();
    case SimCommand::RecoveryWord:
        session.recoveryWord = r.has(2) && get16(r.payload, 0) == kSimRecoveryWord;
        return session.recoveryWord ? ack() : silence();
    case SimCommand::RecoveryFlag:
        session.recoveryArmed = session.recoveryWord && r.has(1) && r.payload[0] == 1;
        return session.recoveryArmed ? ack() : silence();
    default: return silence();
    }
}

}  // namespace

SimAnswer answerRequest(SimCommand command, const std::vector<uint8_t>& payload, SimState& state,
                        SimSession& session, uint32_t unitTime, SimRandom& random, int dataRecordsMax)
{
    int opcode = opcodeForCommand(command, state.firmwareVersion());
    if (command == SimCommand::Unknown || opcode < 0)
        return silence();
    if (needsHandshake(command) && !session.authorized)
        return silence();
    Request r{command, uint8_t(opcode), payload};
    switch (command) {
    case SimCommand::GetChallenge: {
        std::array<uint8_t, 4> c{};
        for (uint8_t& b : c)
            b = uint8_t(random.next() >> 24);
        session.challenge = c;
        return reply(kChallengeReplyOpcode, {c[0], c[1], c[2], c[3]});
    }
    case SimCommand::SendResponse: return sendResponse(r, state, session);
    case SimCommand::GetVersions: {
        std::vector<uint8_t> v(state.versionBytes.begin(), state.versionBytes.end());
        v[8] = state.betaNumber;
        v[9] = state.mainVersion;
        return reply(r.opcode, v);
    }
    case SimCommand::GetVoltage: return reply(r.opcode, word16(state.batteryMillivolts));
    case SimCommand::SetClock: {
        if (!r.has(4))
            return silence();
        SimAnswer a = ack();
        a.setClock = get32(payload, 0);
        return a;
    }
    case SimCommand::EnterBootloader: {
        if (!r.has(1))
            return silence();
        SimAnswer a = ack();
        a.effect = SimEffect::EnterBootloader;
        return a;
    }
    case SimCommand::PowerDown: {
        if (!r.has(1))
            return silence();
        SimAnswer a = ack();
        a.effect = SimEffect::PowerDown;
        return a;
    }
    case SimCommand::SetUnitNumber:
        if (!session.recoveryArmed || !r.has(2))
            return silence();
        state.pendingUnitNumber = int(get16(payload, 0));
        return ack();
    case SimCommand::GetDiveCount: return reply(r.opcode, word16(uint32_t(state.diveLogs.size())));
    case SimCommand::GetDiveInfo: return logInfo(r, state.diveLogs, session.selectedDive);
    case SimCommand::GetDiveHeader: return logHeader(r, state.diveLogs, session.selectedDive);
    case SimCommand::GetDiveData: return logData(r, state.diveLogs, session.selectedDive, dataRecordsMax);
    case SimCommand::GetRedboxCount: return reply(r.opcode, word16(uint32_t(state.redboxLogs.size())));
    case SimCommand::GetRedboxInfo: return logInfo(r, state.redboxLogs, session.selectedRedbox);
    case SimCommand::GetRedboxHeader: return logHeader(r, state.redboxLogs, session.selectedRedbox);
    case SimCommand::GetRedboxData: return logData(r, state.redboxLogs, session.selectedRedbox, dataRecordsMax);
    default: return answerSetting(r, state, session, unitTime);
    }
}

}  // namespace ravo::sim
