#pragma once
#include <string>
#include <vector>

#include "divedata/dive_record.h"
#include "divedata/file_messages.h"

namespace ravo {

// The sample file: one "time,kind,value" line per record (CR LF), no title.
std::string FormatSamplesCsv(const std::vector<CDiveDataRecord>& samples);
// Writes the sample file, replacing an old one atomically. 0, or -1 after
// reporting the failure in `messages`.
int SaveSamplesCsv(const std::string& path, const std::vector<CDiveDataRecord>& samples,
                   FileMessages* messages = nullptr);

// Reads sample lines: blank lines skipped, CR LF or LF, fields split at
// commas (empty fields skipped, beyond the third ignored, missing ones 0),
// each read as an unsigned number cut to the member's width.
void ParseSamplesText(const std::string& content, std::vector<CDiveDataRecord>& samples);
// The 1-based number of the first line that is not a sample line (a line
// with digits and nothing but digits, signs, commas and blanks), 0 when every
// non-blank line is one. The reader above takes any text; this tells a
// sample file from another file.
int FirstForeignSampleLine(const std::string& content);
// Whether the file at `path` is a saved sample file worth showing or
// exporting: a regular file of at most kSampleFileMaxBytes, every line a
// sample line, and at least one sample. `problem` names the file and says
// what is wrong: "PATH is not a dive log sample file (line 3 holds no
// samples)", "PATH holds no samples", "Can not read PATH (REASON)".
struct SampleFileCheck {
    bool ok = false;
    bool missing = false;  // there is no file at all
    std::string problem;
};
SampleFileCheck CheckSampleFile(const std::string& path);

// Empties `samples` and reads the file into it. 0, or -1 when it cannot be
// opened (samples stay empty).
int ReadSamplesCsv(const std::string& path, std::vector<CDiveDataRecord>& samples);

}  // namespace ravo
