#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ravo {

inline constexpr uint8_t kFrameStart = 0xFA;
inline constexpr uint8_t kFrameEscape = 0xFB;
inline constexpr uint8_t kFrameEnd = 0xFC;

// CRC-8, polynomial 0x07, initial 0, no reflection, no final XOR
// ("123456789" gives 0xF4).
uint8_t crc8(const uint8_t* data, size_t length);

// A whole frame as written on the wire: start byte, unit number (low byte
// first), opcode, length, payload, check byte, end byte, with every byte after
// the start byte up to the check byte that equals FA, FB or FC escaped by FB.
std::vector<uint8_t> buildFrame(uint16_t unitNumber, uint8_t opcode, const uint8_t* payload, uint8_t length);

// The bootloader chunk frame: L = length modulo 0x8000 as two bytes, high
// byte first, then the first L chunk bytes. No start byte, stuffing or check byte.
std::vector<uint8_t> buildChunkFrame(const uint8_t* data, size_t length);

}  // namespace ravo
