#include "link/unit_number.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace ravo {

std::string trimmed(const std::string& text)
{
    size_t begin = 0, end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(begin, end - begin);
}

uint16_t parseUnitNumber(const std::string& text)
{
    std::string copy = trimmed(text);
    for (char& c : copy)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    if (copy.size() > 4)
        copy.resize(4);
    // strtol's base-16 rules are exactly the box's: blanks, a sign and "0x".
    long value = std::strtol(copy.c_str(), nullptr, 16);
    long number = value % 0x10000;
    if (number < 0)
        number += 0x10000;
    return number == 0 ? 0xFFFF : uint16_t(number);
}

std::string formatUnitNumber(uint16_t number)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04X", unsigned(number));
    return text;
}

}  // namespace ravo
