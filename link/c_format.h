#pragma once
#include <cstdarg>
#include <cstddef>
#include <string>

namespace ravo {

// printf formatting in the C locale, whatever locale the process runs in
// (a Qt program switches to the user's locale, which may write 4,123 for 4.123).
// Output longer than the buffer is cut; the result is always zero-terminated.
void vformatC(char* buffer, size_t size, const char* format, va_list args);
void formatC(char* buffer, size_t size, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
std::string formatC(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace ravo
