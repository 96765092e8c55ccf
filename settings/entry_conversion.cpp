#include "settings/entry_conversion.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
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

namespace {

std::string trimmedEntry(const std::string& text)
{
    const char* blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// Optional sign, digits, and with `decimals` above 0 a point and at most that
// many digits after it.
bool plainNumber(const std::string& text, int decimals)
{
    size_t i = text.empty() || (text[0] != '-' && text[0] != '+') ? 0 : 1;
    size_t digits = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        ++digits;
    if (i < text.size() && text[i] == '.' && decimals > 0) {
        size_t after = 0;
        for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
            ++after;
        if (after > size_t(decimals))
            return false;
        digits += after;
    }
    return digits > 0 && i == text.size();
}

std::string outside(const std::string& entry, const std::string& range)
{
    return entry + " is outside the range " + range + ". Enter a value from " + range + ".";
}

}  // namespace

std::string intEntryRefusal(const std::string& text, int minimum, int maximum, int step)
{
    const std::string range = intRangeText(minimum, maximum, step);
    const std::string entry = trimmedEntry(text);
    if (!plainNumber(entry, 0))
        return "\"" + entry + "\" is not a whole number. Enter a value from " + range + ".";
    const int value = entryToInt(entry);
    if (minimum > maximum)
        return "No value fits the range " + range + ".";
    if (value < minimum || value > maximum)
        return outside(entry, range);
    if (step > 1 && (int64_t(value) - minimum) % step != 0)
        return entry + " is between two steps of the range " + range + ". Enter a value from " + range + ".";
    return {};
}

std::string realEntryRefusal(const std::string& text, int precision, double minimum, double maximum)
{
    const std::string range = realRangeText(precision, minimum, maximum);
    const std::string entry = trimmedEntry(text);
    if (!plainNumber(entry, std::max(precision, 0)))
        return "\"" + entry + "\" is not a number with " + std::to_string(std::max(precision, 0)) +
               " decimals at most. Enter a value from " + range + ".";
    // The bounds are the unit's values times 0.01 or 0.1: "0.7" typed for a
    // bound of 0.7000000000000001 is the bound.
    const double slack = 1e-9 * std::max({1.0, std::fabs(minimum), std::fabs(maximum)});
    const double value = entryToReal(entry);
    if (minimum > maximum + slack)
        return "No value fits the range " + range + ".";
    if (value < minimum - slack || value > maximum + slack)
        return outside(entry, range);
    return {};
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
