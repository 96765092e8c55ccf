#include <cstdio>
#include <locale.h>
#include <stdio.h>

#include "link/c_format_p.h"

namespace ravo::detail {

int vformatCLocale(char* buffer, size_t size, const char* format, va_list args)
{
    static _locale_t cLocale = _create_locale(LC_ALL, "C");
    va_list again;
    va_copy(again, args);
    // The runtime returns -1 when the output does not fit (and then may leave
    // the buffer unterminated); count the length the output needs instead.
    int n = _vsnprintf_l(buffer, size, format, cLocale, args);
    if (n < 0 || size_t(n) >= size)
        n = _vscprintf_l(format, cLocale, again);
    va_end(again);
    return n;
}

}  // namespace ravo::detail
