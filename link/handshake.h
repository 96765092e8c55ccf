#pragma once
#include <cstdint>

namespace ravo {

// The unit's answer to a challenge depends on its firmware generation.
enum class HandshakeVariant : char { A = 'A', B = 'B', C = 'C', D = 'D' };

// A from 0x4700, B from 0x4303, C from 0x4101, D below.
HandshakeVariant handshakeVariant(uint32_t version);

// The byte with its two 4-bit halves exchanged.
constexpr uint8_t swapNibbles(uint8_t x) { return uint8_t((x << 4) | (x >> 4)); }

// The four response bytes r0..r3 for the challenge c0..c3 of a unit of
// firmware `version`. Variants C and D look only at c0.
void handshakeResponse(uint32_t version, const uint8_t challenge[4], uint8_t response[4]);

}  // namespace ravo
