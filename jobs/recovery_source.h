#pragma once
#include <cstdint>

namespace ravo {

// What the lost unit number recovery takes from a redbox log header.
struct RecoverySource {
    uint16_t unitSerial = 0xFFFF;  // 0xFFFF: the log holds no unit number
    uint32_t serviceDate = 0;      // unit time; 0 in headers of layout level below 43
};

// Decodes the unit number (bytes 26-27) and, from layout level 43 (byte 25)
// on, the service date (bytes 36-39) of a 256-byte redbox header.
RecoverySource recoverySourceFromRedboxHeader(const uint8_t header[256]);

}  // namespace ravo
