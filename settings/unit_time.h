#pragma once
#include <cstdint>

namespace ravo {

// Seconds between the Unix epoch and the unit's epoch (2000-01-01 UTC).
inline constexpr int64_t kUnitEpochOffset = 946684800;

// Unix time to unit time, kept to 32 bits.
uint32_t unitTimeFromUnix(int64_t unixSeconds);
// The PC's current time as unit time.
uint32_t currentUnitTime();

}  // namespace ravo
