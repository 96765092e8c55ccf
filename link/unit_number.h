#pragma once
#include <cstdint>
#include <string>

namespace ravo {

// The unit number typed by the user: trimmed, upper-cased, first four
// characters read as hexadecimal (optional sign and "0x"); 0 and text without
// digits give 0xFFFF, the number of a unit whose number was lost.
uint16_t parseUnitNumber(const std::string& text);

// "%04X".
std::string formatUnitNumber(uint16_t number);

// Removes white space at both ends.
std::string trimmed(const std::string& text);

}  // namespace ravo
