#pragma once
#include <cstdint>

namespace ravo {

// Plain data of the link: which unit every request addresses, and the unit's
// firmware version once the access handshake has read it.
class irda_util {
public:
    uint16_t unitNumber = 0xFFFF;
    uint32_t unitFirmwareVersion = 0;
};

}  // namespace ravo
