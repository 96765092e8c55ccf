#include "link/frame_format.h"

#include <cstring>

namespace ravo {

uint8_t crc8(const uint8_t* data, size_t length)
{
    uint8_t crc = 0;
    for (size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x80) ? uint8_t((crc << 1) ^ 0x07) : uint8_t(crc << 1);
    }
    return crc;
}

std::vector<uint8_t> buildFrame(uint16_t unitNumber, uint8_t opcode, const uint8_t* payload, uint8_t length)
{
    std::vector<uint8_t> plain{kFrameStart, uint8_t(unitNumber & 0xFF), uint8_t(unitNumber >> 8), opcode, length};
    plain.insert(plain.end(), payload, payload + length);
    plain.push_back(crc8(plain.data(), plain.size()));

    std::vector<uint8_t> wire;
    wire.reserve(2 * (plain.size() + 1));
    wire.push_back(kFrameStart);
    for (size_t i = 1; i < plain.size(); ++i) {
        uint8_t b = plain[i];
        if (b == kFrameStart || b == kFrameEscape || b == kFrameEnd)
            wire.push_back(kFrameEscape);
        wire.push_back(b);
    }
    wire.push_back(kFrameEnd);
    return wire;
}

std::vector<uint8_t> buildChunkFrame(const uint8_t* data, size_t length)
{
    // The header has 15 bits: exactly the bytes it declares go out, never a
    // tail the bootloader would take for the next chunk.
    const size_t l = length % 0x8000;
    std::vector<uint8_t> wire(2 + l);
    wire[0] = uint8_t((l >> 8) & 0x7F);
    wire[1] = uint8_t(l & 0xFF);
    if (l > 0)
        std::memcpy(wire.data() + 2, data, l);
    return wire;
}

}  // namespace ravo
