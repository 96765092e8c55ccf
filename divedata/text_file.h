#pragma once
#include <cstdint>
#include <string>

#include "firmware/regular_file.h"

namespace ravo {

// Writes `content` to `path` through a temporary file in the same folder that
// is then renamed over the old file, so a crash or a full disk never leaves a
// half-written file where a good one was. 0, or -1 (old file untouched) with
// the system's reason in `reason` (optional).
int WriteFileReplacing(const std::string& path, const std::string& content, std::string* reason = nullptr);

// A file written in two steps, for a log made of several files that must all
// change or none: stage() writes the content to a temporary file beside
// `path` and flushes it to the disk; commit() renames it over `path`. A file
// staged and never committed is removed.
class StagedFile {
public:
    explicit StagedFile(std::string path) : path_(std::move(path)) {}
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // 0, or -1 with the reason in `reason`; the file at `path` is untouched.
    int stage(const std::string& content, std::string* reason = nullptr);
    int commit(std::string* reason = nullptr);
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string temporary_;
};

// Reads a whole regular file of at most `maxBytes` (see regular_file.h).
// False, with the reason in `reason` (optional), when it is missing, refused
// or cannot be read.
bool ReadWholeFile(const std::string& path, std::string& content, uint64_t maxBytes = kSampleFileMaxBytes,
                   std::string* reason = nullptr);

// Reads the first line of a regular file without its line end (CR LF or LF),
// at most `limit` bytes of it. False, with the reason in `reason` (optional),
// when the file is missing, refused or cannot be opened.
bool ReadFirstLine(const std::string& path, std::string& line, size_t limit = 65536, std::string* reason = nullptr);

// Whether anything is under `path`: a file, a folder, a pipe, or a link,
// also one whose target is gone (a name that is taken, whatever it holds).
bool PathExists(const std::string& path);

// The message of a file operation that failed: "`what`: PATH (REASON)".
std::string FileErrorText(const std::string& what, const std::string& path, const std::string& reason);

}  // namespace ravo
