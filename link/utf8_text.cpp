#include "link/utf8_text.h"

#include <cstdint>

namespace ravo {
namespace {

// The length of the well-formed UTF-8 sequence at `at`, or 0.
size_t sequenceLength(const std::string& bytes, size_t at)
{
    const auto byte = [&](size_t i) { return uint8_t(bytes[i]); };
    const uint8_t lead = byte(at);
    if (lead < 0x80)
        return 1;
    size_t length;
    uint8_t low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;  // no overlong forms
        if (lead == 0xED)
            high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    if (byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i)
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF)
            return 0;
    return length;
}

}  // namespace

bool IsValidUtf8(const std::string& bytes)
{
    for (size_t at = 0; at < bytes.size();) {
        const size_t length = sequenceLength(bytes, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

std::string Utf8Replaced(const std::string& bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (size_t at = 0; at < bytes.size();) {
        const size_t length = sequenceLength(bytes, at);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++at;
        } else {
            out.append(bytes, at, length);
            at += length;
        }
    }
    return out;
}

std::string PercentEncoded(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const uint8_t b = uint8_t(c);
        if (b >= 0x20 && b < 0x7F && b != '%') {
            out += c;
        } else {
            out += '%';
            out += digits[b >> 4];
            out += digits[b & 15];
        }
    }
    return out;
}

int Utf8CharCount(const std::string& text)
{
    int chars = 0;
    for (char c : text)
        chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return chars;
}

}  // namespace ravo
