#pragma once
#include <array>
#include <cstdint>

namespace ravo::sim {

// The four response bytes the unit of firmware `version` expects for
// `challenge`: variant A from 0x4700, B from 0x4303, C from 0x4101, D below.
std::array<uint8_t, 4> expectedResponse(uint16_t version, const std::array<uint8_t, 4>& challenge);

}  // namespace ravo::sim
