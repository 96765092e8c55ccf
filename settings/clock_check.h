#pragma once
#include <cstdint>
#include <string>

namespace ravo {

// The unit's clock against the PC's UTC time, both in unit time.
struct ClockCheck {
    bool warn = false;    // more than kClockToleranceSeconds apart
    int64_t offset = 0;   // unit clock minus PC time, seconds
    std::string tooltip;  // names the difference when warn
};

inline constexpr int64_t kClockToleranceSeconds = 60;

// A span of seconds as "3 d 4 h 5 min 6 s", largest unit first, zero parts
// left out.
std::string timeSpanText(int64_t seconds);

// Compares the clock read from the unit with the PC's time when it was read.
ClockCheck checkUnitClock(uint32_t unitClock, uint32_t pcUnitTime);

}  // namespace ravo
