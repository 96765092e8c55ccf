#include "link/unit_conversions.h"

#include <algorithm>
#include <cmath>

namespace ravo {

int backlightPercentFromByte(uint8_t b)
{
    return std::min(100, (int(b) * 100 + 49) / 255);
}

uint8_t backlightByteFromPercent(int percent)
{
    const int p = std::clamp(percent, 0, 100);
    return uint8_t((p * 255 + 49) / 100);
}

uint16_t hudPercentFromWord(uint16_t w)
{
    return uint16_t(uint32_t(w) * 25u);
}

uint16_t hudWordFromPercent(int percent)
{
    return percent > 0 ? uint16_t(percent / 25) : 0;
}

int32_t truncatedProduct(double value, double factor)
{
    const double product = value * factor;
    if (std::isnan(product))
        return 0;
    // std::trunc keeps the product's own rounding: 1.15 * 100 is 114.999...
    const double t = std::trunc(product);
    if (t >= 2147483647.0)
        return INT32_MAX;
    if (t <= -2147483648.0)
        return INT32_MIN;
    return int32_t(t);
}

}  // namespace ravo
