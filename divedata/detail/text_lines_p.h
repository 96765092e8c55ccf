#pragma once
#include <cstdint>
#include <string>

namespace ravo::detail {

// Appends the raw header bytes as the files show them: a line end before
// bytes 0, 64, 128 and 192, each byte as " %02X".
void appendHexDump(std::string& out, const uint8_t* raw, int count);

}  // namespace ravo::detail
