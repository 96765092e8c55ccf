#pragma once
#include <cstddef>
#include <cstdint>

namespace ravo {

// One log directory entry as the unit sends it (dive or redbox log). Fields
// the reply does not reach are 0.
struct LogDirectoryEntry {
    uint32_t startTime = 0;    // unit time (seconds since 2000-01-01 00:00:00 UTC)
    uint32_t recordCount = 0;  // number of 4-byte sample records
    uint16_t auxWord = 0;
};

// Decodes the reply payload of the directory-entry commands: start time
// (bytes 0-3), record count (4-7), aux word (8-9), little-endian; a shorter
// reply leaves what it does not reach at 0.
LogDirectoryEntry DecodeLogEntry(const uint8_t* payload, size_t length);

}  // namespace ravo
