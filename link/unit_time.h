#pragma once
#include <cstdint>
#include <string>

namespace ravo {

// Unit time: unsigned seconds since 2000-01-01 00:00:00 UTC, the time of every
// value the unit sends or receives.

// Unix time of unit time 0.
inline constexpr int64_t kUnitTimeEpoch = 946684800;

// A unit time in UTC as "%Y-%m-%d %H:%M:%S".
std::string FormatUnitTime(uint32_t unitTime);

// Unix time to unit time, kept to 32 bits.
uint32_t unitTimeFromUnix(int64_t unixSeconds);
// The PC's current time as unit time.
uint32_t currentUnitTime();

}  // namespace ravo
