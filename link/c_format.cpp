#include "link/c_format.h"

#include <clocale>
#include <cstdio>
#include <vector>
#ifndef _WIN32
#include <locale.h>
#endif

namespace ravo {
namespace {

#ifndef _WIN32
locale_t cLocale()
{
    static locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return locale;
}
#endif

int vformatRaw(char* buffer, size_t size, const char* format, va_list args)
{
#ifdef _WIN32
    static _locale_t locale = _create_locale(LC_ALL, "C");
    return _vsnprintf_l(buffer, size, format, locale, args);
#else
    locale_t previous = uselocale(cLocale());
    int n = std::vsnprintf(buffer, size, format, args);
    uselocale(previous);
    return n;
#endif
}

}  // namespace

void vformatC(char* buffer, size_t size, const char* format, va_list args)
{
    if (size == 0)
        return;
    if (vformatRaw(buffer, size, format, args) < 0)
        buffer[0] = '\0';
    buffer[size - 1] = '\0';
}

void formatC(char* buffer, size_t size, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    vformatC(buffer, size, format, args);
    va_end(args);
}

std::string formatC(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    char small[256];
    int n = vformatRaw(small, sizeof small, format, args);
    va_end(args);
    std::string out;
    if (n < 0) {
        va_end(copy);
        return out;
    }
    if (size_t(n) < sizeof small) {
        out.assign(small, size_t(n));
    } else {
        std::vector<char> big(size_t(n) + 1);
        vformatRaw(big.data(), big.size(), format, copy);
        out.assign(big.data(), size_t(n));
    }
    va_end(copy);
    return out;
}

}  // namespace ravo
