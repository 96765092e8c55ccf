#pragma once
#include <cstdint>

namespace ravo {

// One log directory entry as the unit sends it (dive or redbox log). Fields
// the reply does not reach are 0.
struct LogDirectoryEntry {
    uint32_t startTime = 0;    // unit time (seconds since 2000-01-01 00:00:00 UTC)
    uint32_t recordCount = 0;  // number of 4-byte sample records
    uint16_t auxWord = 0;
};

}  // namespace ravo
