#include "sim/sim_wire.h"

#include "link/frame_format.h"

namespace ravo::sim {

std::vector<uint8_t> replyFrame(uint16_t unitNumber, uint8_t opcode, const std::vector<uint8_t>& payload,
                                bool corruptCheck)
{
    std::vector<uint8_t> plain{kFrameStart, uint8_t(unitNumber), uint8_t(unitNumber >> 8), opcode,
                               uint8_t(payload.size())};
    plain.insert(plain.end(), payload.begin(), payload.end());
    uint8_t check = crc8(plain.data(), plain.size());
    plain.push_back(corruptCheck ? uint8_t(check ^ 0x5A) : check);
    std::vector<uint8_t> wire{kFrameStart};
    for (size_t i = 1; i < plain.size(); ++i) {
        if (plain[i] == kFrameStart || plain[i] == kFrameEscape || plain[i] == kFrameEnd)
            wire.push_back(kFrameEscape);
        wire.push_back(plain[i]);
    }
    wire.push_back(kFrameEnd);
    return wire;
}

}  // namespace ravo::sim
