#include "link/c_format.h"

#include <cstdio>
#include <vector>

#include "link/c_format_p.h"

namespace ravo {

using detail::vformatCLocale;

void vformatC(char* buffer, size_t size, const char* format, va_list args)
{
    if (size == 0)
        return;
    // Output that does not fit is cut at size - 1 characters on every platform.
    if (vformatCLocale(buffer, size, format, args) < 0)
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
    int n = vformatCLocale(small, sizeof small, format, args);
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
        vformatCLocale(big.data(), big.size(), format, copy);
        out.assign(big.data(), size_t(n));
    }
    va_end(copy);
    return out;
}

}  // namespace ravo
