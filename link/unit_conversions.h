#pragma once
#include <cstdint>

namespace ravo {

// Conversions between the unit's wire values and the values the user sees.

// Backlight byte 0..255 as percent: min(100, (b * 100 + 49) / 255).
int backlightPercentFromByte(uint8_t b);
// Percent (cut to 0..100) as backlight byte: (p * 255 + 49) / 100.
uint8_t backlightByteFromPercent(int percent);

// HUD brightness word times 25, the product kept to 16 bits.
uint16_t hudPercentFromWord(uint16_t w);
// Percent / 25 (integer division; negative percent sends 0).
uint16_t hudWordFromPercent(int percent);

// value * factor truncated toward zero (1.15 * 100 gives 114, the product
// lying just below 115); NaN gives 0 and the result saturates at the int range.
int32_t truncatedProduct(double value, double factor);

}  // namespace ravo
