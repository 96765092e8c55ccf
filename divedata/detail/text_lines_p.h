#pragma once
#include <string>

namespace ravo::detail {

// The first line of `content` without its line end (CR LF or LF).
inline std::string firstLine(const std::string& content)
{
    size_t end = content.find('\n');
    std::string line = content.substr(0, end);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

// Appends the raw header bytes as the files show them: a line end before
// bytes 0, 64, 128 and 192, each byte as " %02X".
void appendHexDump(std::string& out, const uint8_t* raw, int count);

}  // namespace ravo::detail
