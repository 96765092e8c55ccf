#include "settings/entry_conversion.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "link/c_format.h"

#ifdef _WIN32
#include <locale.h>
#else
#include <locale.h>
#include <stdlib.h>
#endif

namespace ravo {
namespace {

#ifdef _WIN32
double strtodC(const char* text, char** end)
{
    static _locale_t c = _create_locale(LC_NUMERIC, "C");
    return _strtod_l(text, end, c);
}
#else
double strtodC(const char* text, char** end)
{
    // The process may run in a locale with a decimal comma; entries never do.
    static locale_t c = newlocale(LC_NUMERIC_MASK, "C", locale_t(0));
    return strtod_l(text, end, c);
}
#endif

}  // namespace

int entryToInt(const std::string& text)
{
    errno = 0;
    long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return int(value);
}

double entryToReal(const std::string& text)
{
    double value = strtodC(text.c_str(), nullptr);
    // NaN would pass both bounds and reach the unit as an undefined number.
    if (std::isnan(value))
        return 0.0;
    return value;
}

int clampIntEntry(const std::string& text, int minimum, int maximum, int step)
{
    int value = entryToInt(text);
    if (value < minimum)
        value = minimum;
    if (value > maximum)
        value = maximum;
    if (step > 1)
        value = int(minimum + int64_t(step) * ((int64_t(value) - minimum) / step));
    return value;
}

double clampRealEntry(const std::string& text, double minimum, double maximum)
{
    double value = entryToReal(text);
    if (value < minimum)
        value = minimum;
    if (value > maximum)
        value = maximum;
    return value;
}

std::string intRangeText(int minimum, int maximum, int step)
{
    if (step > 1)
        return formatC("%d..%d  step %d", minimum, maximum, step);
    return formatC("%d..%d", minimum, maximum);
}

std::string realRangeText(int precision, double minimum, double maximum)
{
    return formatC("%.*lf..%.*lf", precision, minimum, precision, maximum);
}

}  // namespace ravo
