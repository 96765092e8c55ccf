#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ravo::sim {

// A reply frame as the unit writes it; with `corruptCheck` the check byte is
// wrong (the frame is otherwise well formed, stuffing included).
std::vector<uint8_t> replyFrame(uint16_t unitNumber, uint8_t opcode, const std::vector<uint8_t>& payload,
                                bool corruptCheck = false);

// "0A FF 12" (upper case, one space between bytes).
std::string hexBytes(const uint8_t* data, size_t length);
inline std::string hexBytes(const std::vector<uint8_t>& bytes) { return hexBytes(bytes.data(), bytes.size()); }

}  // namespace ravo::sim
