#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

namespace ravo {

// Every file the program reads whole or in part (log files, marks, settings
// backups, firmware images, manifests) is checked here first: it must be a
// regular file (a pipe would block the open or the read for ever, a device
// such as /dev/zero never ends) and at most `maxBytes` long.
struct RegularFileCheck {
    bool ok = false;
    bool missing = false;  // there is no such file
    bool notAFile = false; // a folder, a pipe, a device
    bool tooLarge = false;
    uint64_t size = 0;
    std::string reason;    // for the user when not ok: "it is a folder, not a file"

    explicit operator bool() const { return ok; }
};

// Limits of the files the program reads.
inline constexpr uint64_t kSampleFileMaxBytes = uint64_t(64) << 20;  // far beyond the longest log
inline constexpr uint64_t kSmallTextFileMaxBytes = uint64_t(1) << 20;  // settings backups, manifests, marks

// Opens `path` for reading in binary mode after the checks above, without
// ever blocking on a pipe. Null, with `check` saying why, when it is refused
// or cannot be opened. The caller closes the file.
std::FILE* OpenRegularFile(const std::string& path, uint64_t maxBytes, RegularFileCheck& check);

// The checks alone (the file is opened and closed again).
RegularFileCheck CheckRegularFile(const std::string& path, uint64_t maxBytes);

// Reads the whole of a checked file. False, with the reason in `check`
// (optional), when it is refused or a read fails.
bool ReadRegularFile(const std::string& path, uint64_t maxBytes, std::string& content,
                     RegularFileCheck* check = nullptr);

// The system's text for an errno value ("No space left on device").
std::string systemErrorText(int error);

}  // namespace ravo
