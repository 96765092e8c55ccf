#pragma once
#include <string>

namespace ravo {

// Writes `content` to `path` through a temporary file in the same folder that
// is then renamed over the old file, so a crash or a full disk never leaves a
// half-written file where a good one was. 0, or -1 (old file untouched).
int WriteFileReplacing(const std::string& path, const std::string& content);

// Reads a whole file. False when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& content);

// Reads the first line of a file without its line end (CR LF or LF), at
// most `limit` bytes of it. False when the file cannot be opened.
bool ReadFirstLine(const std::string& path, std::string& line, size_t limit = 65536);

}  // namespace ravo
