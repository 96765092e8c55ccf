#include <cstdarg>
#include <vector>

#include "divedata/detail/text_format_p.h"
#include "link/c_format.h"

namespace ravo::detail {

std::string textC(const char* format, ...)
{
    std::vector<char> buffer(1024);
    va_list args;
    va_start(args, format);
    vformatC(buffer.data(), buffer.size(), format, args);
    va_end(args);
    return std::string(buffer.data());
}

std::string lowerAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return text;
}

}  // namespace ravo::detail
