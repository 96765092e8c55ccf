#pragma once
#include <cstdint>
#include <string>

namespace ravo {

// A log saved before all of it arrived is marked by a small text file beside
// it: the log's path (a dive's base path without extension, a redbox file's
// full path) with ".partial" appended, holding "records N of M". Saving the
// complete log removes the mark. The mark is written before a partial log's
// files and removed after a complete log's files, so an interrupted save
// never leaves a partial log that looks complete.
std::string PartialMarkPath(const std::string& logPath);

// True when the log at `logPath` is marked partial; `records` (optional) gets
// the records the partial save held.
bool IsMarkedPartial(const std::string& logPath, uint32_t* records = nullptr);

// Writes the mark. 0, or -1 when it cannot be written.
int MarkPartial(const std::string& logPath, uint32_t records, uint32_t expected);

// Removes the mark, if there is one.
void UnmarkPartial(const std::string& logPath);

}  // namespace ravo
