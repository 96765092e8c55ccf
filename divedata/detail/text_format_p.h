#pragma once
#include <string>

namespace ravo::detail {

// printf in the C locale into a string (formatC's string form, which cannot
// be told apart from its buffer form when the second argument is a number).
std::string textC(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// `text` with ASCII letters in lower case (names typed on the command line).
std::string lowerAscii(std::string text);

}  // namespace ravo::detail
