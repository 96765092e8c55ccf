#pragma once
#include <cstdarg>
#include <cstddef>

namespace ravo::detail {

// The platform's printf in the C locale, with the C99 result: the length the
// whole output needs (whatever fitted into `buffer` is written), or a
// negative number on a format error. Implemented once per platform.
int vformatCLocale(char* buffer, size_t size, const char* format, va_list args);

}  // namespace ravo::detail
