#pragma once
#include <cstdint>
#include <string>

namespace ravo {

// A log saved before all of it arrived is marked by a small text file beside
// it: the log's path (a dive's base path without extension, a redbox file's
// full path) with ".partial" appended, holding "records N of M" (N records
// saved of the M the unit's directory announced). Saving the complete log
// removes the mark. A first partial save writes the mark before the log's
// files, so an interrupted save never leaves a partial log that looks
// complete; a mark that is there already is replaced only after the new
// files are in place, so it never claims records the files do not hold.
std::string PartialMarkPath(const std::string& logPath);

struct PartialMark {
    uint32_t records = 0;   // N: the records the partial save held
    uint32_t expected = 0;  // M: the records of the whole log; 0 when the mark does not say
};

// True when the log at `logPath` is marked partial; `mark` (optional) gets
// what the mark says.
bool ReadPartialMark(const std::string& logPath, PartialMark* mark);

// True when the log at `logPath` is marked partial; `records` (optional) gets
// the records the partial save held.
bool IsMarkedPartial(const std::string& logPath, uint32_t* records = nullptr);

// Writes the mark. 0, or -1 with the reason in `reason` (optional) when it
// cannot be written.
int MarkPartial(const std::string& logPath, uint32_t records, uint32_t expected, std::string* reason = nullptr);

// Removes the mark, if there is one.
void UnmarkPartial(const std::string& logPath);

}  // namespace ravo
