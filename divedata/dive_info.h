#pragma once
#include <cstdint>

namespace ravo {

// One entry of a unit's dive or redbox log directory; a plain value.
struct CDiveInfo {
    uint8_t valid = 0;         // 1 once read from the unit (or loaded from a file)
    uint32_t unitNumber = 0;   // the unit it was read from (the job's, not the reply's)
    uint16_t index = 0;        // the log's index on the unit
    uint32_t recordCount = 0;  // 4-byte sample records in the log
    uint32_t startTime = 0;    // unit time the log started
    uint16_t auxWord = 0;      // carried along, not interpreted

    void clear() { *this = CDiveInfo{}; }
};

}  // namespace ravo
