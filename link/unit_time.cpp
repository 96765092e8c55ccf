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

std::string FormatUnitTimeLocal(uint32_t unitTime)
{
    std::time_t t = std::time_t(kUnitTimeEpoch + int64_t(unitTime));
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &t) != 0)
        return FormatUnitTime(unitTime);
#else
    if (!localtime_r(&t, &local))
        return FormatUnitTime(unitTime);
#endif
    return formatC("%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                   local.tm_hour, local.tm_min, local.tm_sec);
}

namespace {

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
int64_t daysFromCivil(int64_t year, int64_t month, int64_t day)
{
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yoe = year - era * 400;
    const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

bool digitsAt(const std::string& text, size_t at, size_t count, int& value)
{
    value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

}  // namespace

bool ParseUnitTime(const std::string& text, uint32_t& unitTime)
{
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || (text[10] != ' ' && text[10] != '_'))
        return false;
    const char timeSep = text[13];
    if ((timeSep != ':' && timeSep != '-') || text[16] != timeSep)
        return false;
    int year, month, day, hour, minute, second;
    if (!digitsAt(text, 0, 4, year) || !digitsAt(text, 5, 2, month) || !digitsAt(text, 8, 2, day) ||
        !digitsAt(text, 11, 2, hour) || !digitsAt(text, 14, 2, minute) || !digitsAt(text, 17, 2, second))
        return false;
    static const int kMonthDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month < 1 || month > 12 || day < 1 || day > kMonthDays[month - 1] || (month == 2 && day == 29 && !leap) ||
        hour > 23 || minute > 59 || second > 59)
        return false;
    const int64_t unix = daysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
    const int64_t unit = unix - kUnitTimeEpoch;
    if (unit < 0 || unit > int64_t(UINT32_MAX))
        return false;
    unitTime = uint32_t(unit);
    return true;
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
