#pragma once
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "divedata/dive_figures.h"

namespace ravo {

// The figures of the saved dives, kept in a small file beside them so the
// logbook opens without reading every sample file again. An entry counts
// only while its sample file has the size and modification time it had when
// the figures were read from it; a cache file that is not exactly as this
// program writes it is ignored as a whole. The files always win.
inline constexpr char kFiguresCacheName[] = "ravo_dive_figures.cache";

// A file's size and modification time (the file system's own clock ticks).
struct FileStamp {
    uint64_t size = 0;
    int64_t time = 0;
    bool operator==(const FileStamp&) const = default;
};
// False when `path` is not a regular file.
bool StampOfFile(const std::string& path, FileStamp& stamp);

struct CachedFigures {
    FileStamp stamp;
    DiveFigures figures;
    bool operator==(const CachedFigures&) const = default;
};
// Keyed by the saved dive's base name ("KTL_SNAB_2012-05-06_14-22-33_O").
using FiguresEntries = std::map<std::string, CachedFigures>;

// The cache file's text, and back. Names that a line cannot hold (a tab or
// a line end in them) are left out. The reader takes all or nothing: false,
// with `entries` empty, for anything but a whole, unchanged file.
std::string FormatFiguresCache(const FiguresEntries& entries);
bool ParseFiguresCache(const std::string& text, FiguresEntries& entries);
// The checksum the file's last line carries ("end N XXXXXXXX") of all the
// lines before it.
uint32_t FiguresCacheChecksum(const std::string& body);

// The cache of one dive folder. Safe to use from several threads.
class DiveFiguresCache {
public:
    explicit DiveFiguresCache(std::string folder);

    const std::string& folder() const { return folder_; }

    // The figures of the saved dive `baseName` (its sample file
    // `baseName`.csv in the folder): the cached ones while the file's stamp
    // is the one cached, otherwise read from the file and kept. False, with
    // the figures zero, when the sample file cannot be read.
    bool figuresFor(const std::string& baseName, DiveFigures& figures);

    // Forgets the dives that are not in `baseNames` (deleted files).
    void retainOnly(const std::vector<std::string>& baseNames);

    // Writes the cache file when anything changed since it was read. 0, or
    // -1 with the reason in `reason` (the cache is only lost time).
    int save(std::string* reason = nullptr);

    // Sample files read since construction, and whether a cache file was
    // found and taken.
    size_t filesRead() const;
    bool cacheFileTaken() const;

private:
    void loadOnce();  // with mutex_ held

    const std::string folder_;
    mutable std::mutex mutex_;
    bool loaded_ = false;
    bool taken_ = false;
    bool changed_ = false;
    size_t filesRead_ = 0;
    FiguresEntries entries_;
};

}  // namespace ravo
