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
// The same time in the PC's local time zone, same format.
std::string FormatUnitTimeLocal(uint32_t unitTime);
// Reads "%Y-%m-%d %H:%M:%S" (UTC) back; the separators may also be "_"
// between date and time and "-" within the time, as saved log names write
// them ("2012-05-06_14-22-33"). False for any other shape, an impossible
// date, or a time outside the unit's range.
bool ParseUnitTime(const std::string& text, uint32_t& unitTime);

// Unix time to unit time, kept to 32 bits.
uint32_t unitTimeFromUnix(int64_t unixSeconds);
// The PC's current time as unit time.
uint32_t currentUnitTime();

}  // namespace ravo
