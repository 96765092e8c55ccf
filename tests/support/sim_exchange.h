#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sim/sim_unit.h"

namespace ravo::test {

// A reply frame decoded by the test itself (unstuffed, check byte verified).
struct SimReply {
    bool valid = false;
    uint16_t unitNumber = 0;
    uint8_t opcode = 0;
    std::vector<uint8_t> payload;
};

// Decodes the first frame in `bytes` (bytes before its start byte are skipped).
SimReply decodeReply(const std::vector<uint8_t>& bytes);

// All bytes of a reaction, in delivery order.
std::vector<uint8_t> joinDeliveries(const sim::SimReaction& reaction);

// Sends one request frame to `unit` and decodes what it answers.
SimReply simExchange(sim::SimUnit& unit, uint16_t unitNumber, uint8_t opcode, const std::vector<uint8_t>& payload = {});

// Runs the access handshake with the unit's own variant; true when acknowledged.
bool simHandshake(sim::SimUnit& unit, uint16_t unitNumber, uint16_t version);

}  // namespace ravo::test
