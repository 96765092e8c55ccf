#pragma once
#include <cstdint>

namespace ravo {

// Conversions between the unit's raw setting values and the record's units.

// A backlight byte to percent: min(100, (raw * 100 + 49) / 255).
int32_t backlightPercentFromRaw(uint8_t raw);
// A backlight percent to its byte: (p * 255 + 49) / 100; 0 stays 0, 100 is 255.
uint8_t backlightRawFromPercent(int32_t percent);

// HUD brightness steps to percent: raw * 25 kept to 16 bits.
int32_t hudPercentFromRaw(uint16_t raw);
// HUD percent to steps: percent / 25.
uint16_t hudRawFromPercent(int32_t percent);

// Scaled words and bytes (setpoints in hundredths, sizes, pressures and
// lengths in tenths, voltage in thousandths).
double hundredths(uint32_t raw);
double tenths(uint32_t raw);
double thousandths(uint32_t raw);

// A value multiplied by `scale` and truncated toward zero, as the unit gets it:
// 0.57 bar at scale 100 is 56, because the product lies just below 57.
int32_t truncatedScaled(double value, int scale);

// Seconds between the Unix epoch and the unit's epoch (2000-01-01 UTC).
inline constexpr int64_t kUnitEpochOffset = 946684800;
// Unix time to unit time, kept to 32 bits.
uint32_t unitTimeFromUnix(int64_t unixSeconds);
// The PC's current time as unit time.
uint32_t currentUnitTime();

}  // namespace ravo
