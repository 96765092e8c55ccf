#pragma once
#include <cstdint>

namespace ravo {

// The bootloader's one-byte answers to a firmware chunk.
inline constexpr uint8_t kChunkAccepted = 0x11;
inline constexpr uint8_t kChunkCrcError = 0x22;
inline constexpr uint8_t kChunkError = 0x44;
inline constexpr uint8_t kChunkExitError = 0x88;

}  // namespace ravo
