#include "settings/setting_encoding.h"

#include <algorithm>
#include <ctime>

namespace ravo {

int32_t backlightPercentFromRaw(uint8_t raw)
{
    return std::min<int32_t>(100, (int32_t(raw) * 100 + 49) / 255);
}

uint8_t backlightRawFromPercent(int32_t percent)
{
    return uint8_t((percent * 255 + 49) / 100);
}

int32_t hudPercentFromRaw(uint16_t raw)
{
    return int32_t(uint16_t(uint32_t(raw) * 25u));
}

uint16_t hudRawFromPercent(int32_t percent)
{
    return uint16_t(percent / 25);
}

double hundredths(uint32_t raw) { return raw * 0.01; }
double tenths(uint32_t raw) { return raw * 0.1; }
double thousandths(uint32_t raw) { return raw * 0.001; }

int32_t truncatedScaled(double value, int scale)
{
    return int32_t(value * scale);
}

uint32_t unitTimeFromUnix(int64_t unixSeconds)
{
    return uint32_t(unixSeconds - kUnitEpochOffset);
}

uint32_t currentUnitTime()
{
    return unitTimeFromUnix(int64_t(std::time(nullptr)));
}

}  // namespace ravo
