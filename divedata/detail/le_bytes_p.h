#pragma once
#include <cstdint>
#include <cstring>

namespace ravo::detail {

// Little-endian values assembled byte by byte, so neither the host's byte
// order nor alignment matters.
inline uint16_t readU16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }

inline uint32_t readU32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

inline int32_t readI32(const uint8_t* p) { return int32_t(readU32(p)); }

inline float readFloat(const uint8_t* p)
{
    uint32_t bits = readU32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace ravo::detail
