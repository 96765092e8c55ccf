#pragma once
#include <cstdint>
#include <string>

namespace ravo {

// Unix time of unit time 0 (2000-01-01 00:00:00 UTC).
inline constexpr int64_t kUnitTimeEpoch = 946684800;

// A unit time in UTC as "%Y-%m-%d %H:%M:%S".
std::string FormatUnitTime(uint32_t unitTime);

}  // namespace ravo
