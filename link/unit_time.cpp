#include "link/unit_time.h"

#include <ctime>

#include "link/c_format.h"

namespace ravo {

std::string FormatUnitTime(uint32_t unitTime)
{
    // Civil date from a day count (proleptic Gregorian), so no time zone or
    // C library table is involved.
    int64_t seconds = kUnitTimeEpoch + int64_t(unitTime);
    int64_t days = seconds / 86400;
    int64_t rest = seconds % 86400;
    int64_t z = days + 719468;
    int64_t era = z / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t year = yoe + era * 400;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    int64_t day = doy - (153 * mp + 2) / 5 + 1;
    int64_t month = mp < 10 ? mp + 3 : mp - 9;
    if (month <= 2)
        ++year;
    return formatC("%04d-%02d-%02d %02d:%02d:%02d", int(year), int(month), int(day), int(rest / 3600),
                   int(rest % 3600 / 60), int(rest % 60));
}

uint32_t unitTimeFromUnix(int64_t unixSeconds)
{
    return uint32_t(unixSeconds - kUnitTimeEpoch);
}

uint32_t currentUnitTime()
{
    return unitTimeFromUnix(int64_t(std::time(nullptr)));
}

}  // namespace ravo
