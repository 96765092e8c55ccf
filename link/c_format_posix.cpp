#include <clocale>
#include <cstdio>
#include <locale.h>

#include "link/c_format_p.h"

namespace ravo::detail {

int vformatCLocale(char* buffer, size_t size, const char* format, va_list args)
{
    static locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    locale_t previous = uselocale(cLocale);
    int n = std::vsnprintf(buffer, size, format, args);
    uselocale(previous);
    return n;
}

}  // namespace ravo::detail
