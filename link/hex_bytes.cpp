#include "link/hex_bytes.h"

namespace ravo {

std::string hexBytes(const uint8_t* data, size_t length)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(length * 3);
    for (size_t i = 0; i < length; ++i) {
        if (i)
            out += ' ';
        out += digits[data[i] >> 4];
        out += digits[data[i] & 15];
    }
    return out;
}

}  // namespace ravo
