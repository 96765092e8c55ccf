#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "link/hex_bytes.h"

namespace ravo::sim {

// A reply frame as the unit writes it; with `corruptCheck` the check byte is
// wrong (the frame is otherwise well formed, stuffing included).
std::vector<uint8_t> replyFrame(uint16_t unitNumber, uint8_t opcode, const std::vector<uint8_t>& payload,
                                bool corruptCheck = false);

// "0A FF 12" (upper case, one space between bytes).
using ravo::hexBytes;

}  // namespace ravo::sim
