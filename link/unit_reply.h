#pragma once
#include <cstdint>
#include <vector>

namespace ravo {

// One decoded reply frame, owned by the caller of a command.
struct UnitReply {
    uint16_t unitNumber = 0xFFFF;  // 0xFFFF when there is no reply
    uint8_t opcode = 0;            // 0 when there is no reply
    std::vector<uint8_t> payload;  // exactly `length` bytes
    int length = 0;
    bool valid = false;  // a frame passed every check

    void reset() { *this = UnitReply{}; }
};

}  // namespace ravo
