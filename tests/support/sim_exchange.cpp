#include "support/sim_exchange.h"

#include "link/frame_format.h"
#include "sim/sim_handshake.h"

namespace ravo::test {

SimReply decodeReply(const std::vector<uint8_t>& bytes)
{
    SimReply out;
    size_t i = 0;
    while (i < bytes.size() && bytes[i] != 0xFA)
        ++i;
    if (i == bytes.size())
        return out;
    std::vector<uint8_t> plain{0xFA};
    bool escape = false;
    for (++i; i < bytes.size(); ++i) {
        uint8_t b = bytes[i];
        if (!escape && b == 0xFB) {
            escape = true;
            continue;
        }
        plain.push_back(b);
        if (!escape && b == 0xFC)
            break;
        escape = false;
    }
    if (plain.size() < 7 || plain.back() != 0xFC || plain.size() != size_t(plain[4]) + 7)
        return out;
    size_t n = plain[4];
    if (crc8(plain.data(), 5 + n) != plain[5 + n])
        return out;
    out.valid = true;
    out.unitNumber = uint16_t(plain[1] | plain[2] << 8);
    out.opcode = plain[3];
    out.payload.assign(plain.begin() + 5, plain.begin() + 5 + long(n));
    return out;
}

std::vector<uint8_t> joinDeliveries(const sim::SimReaction& reaction)
{
    std::vector<uint8_t> all;
    for (const auto& d : reaction.deliveries)
        all.insert(all.end(), d.bytes.begin(), d.bytes.end());
    return all;
}

SimReply simExchange(sim::SimUnit& unit, uint16_t unitNumber, uint8_t opcode, const std::vector<uint8_t>& payload)
{
    std::vector<uint8_t> frame = buildFrame(unitNumber, opcode, payload.data(), uint8_t(payload.size()));
    return decodeReply(joinDeliveries(unit.receive(frame.data(), frame.size())));
}

bool simHandshake(sim::SimUnit& unit, uint16_t unitNumber, uint16_t version)
{
    SimReply challenge = simExchange(unit, unitNumber, 2, {4});
    if (!challenge.valid || challenge.opcode != 3 || challenge.payload.size() < 4)
        return false;
    std::array<uint8_t, 4> c{challenge.payload[0], challenge.payload[1], challenge.payload[2], challenge.payload[3]};
    auto r = sim::expectedResponse(version, c);
    SimReply ack = simExchange(unit, unitNumber, 4, {r[0], r[1], r[2], r[3]});
    return ack.valid && ack.opcode == 0;
}

}  // namespace ravo::test
