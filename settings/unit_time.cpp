#include "settings/unit_time.h"

#include <ctime>

namespace ravo {

uint32_t unitTimeFromUnix(int64_t unixSeconds)
{
    return uint32_t(unixSeconds - kUnitEpochOffset);
}

uint32_t currentUnitTime()
{
    return unitTimeFromUnix(int64_t(std::time(nullptr)));
}

}  // namespace ravo
