#include "divedata/text_file.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <unistd.h>
#endif

namespace ravo {
namespace {

std::string temporaryNameFor(const std::string& path)
{
    static std::atomic<unsigned> counter{0};
    std::filesystem::path p(path);
#ifdef _WIN32
    const int pid = _getpid();
#else
    const int pid = int(getpid());
#endif
    // Appended piece by piece: GCC 12 at -O3 takes a chain of + for an overlap.
    std::string name = ".";
    name += p.filename().string();
    name += ".part";
    name += std::to_string(pid);
    name += '-';
    name += std::to_string(counter++);
    return (p.parent_path() / name).string();
}

bool flushToDisk(std::FILE* file)
{
    if (std::fflush(file) != 0)
        return false;
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

void setReason(std::string* reason, int error)
{
    if (reason)
        *reason = systemErrorText(error ? error : EIO);
}

// Writes `content` into a new file at `temporary`, flushed to the disk. On
// failure nothing is left behind.
bool writeTemporary(const std::string& temporary, const std::string& content, std::string* reason)
{
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
        setReason(reason, errno);
        return false;
    }
    errno = 0;
    bool ok = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    ok = flushToDisk(file) && ok;
    int error = errno;
    ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        setReason(reason, error ? error : errno);
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
    }
    return ok;
}

bool renameOver(const std::string& temporary, const std::string& path, std::string* reason)
{
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (!error)
        return true;
    if (reason)
        *reason = error.message();
    std::filesystem::remove(temporary, error);
    return false;
}

}  // namespace

bool PathExists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

int WriteFileReplacing(const std::string& path, const std::string& content, std::string* reason)
{
    StagedFile file(path);
    if (file.stage(content, reason) != 0 || file.commit(reason) != 0)
        return -1;
    return 0;
}

StagedFile::~StagedFile()
{
    if (!temporary_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
    }
}

int StagedFile::stage(const std::string& content, std::string* reason)
{
    if (path_.empty()) {
        setReason(reason, ENOENT);
        return -1;
    }
    std::string temporary = temporaryNameFor(path_);
    if (!writeTemporary(temporary, content, reason))
        return -1;
    temporary_ = temporary;
    return 0;
}

int StagedFile::commit(std::string* reason)
{
    if (temporary_.empty()) {
        setReason(reason, ENOENT);
        return -1;
    }
    std::string temporary;
    temporary.swap(temporary_);
    return renameOver(temporary, path_, reason) ? 0 : -1;
}

bool ReadWholeFile(const std::string& path, std::string& content, uint64_t maxBytes, std::string* reason)
{
    RegularFileCheck check;
    if (ReadRegularFile(path, maxBytes, content, &check))
        return true;
    if (reason)
        *reason = check.reason;
    return false;
}

bool ReadFirstLine(const std::string& path, std::string& line, size_t limit, std::string* reason)
{
    line.clear();
    RegularFileCheck check;
    // Only the first line is read, so the file's length does not matter.
    std::FILE* file = OpenRegularFile(path, UINT64_MAX, check);
    if (!file) {
        if (reason)
            *reason = check.reason;
        return false;
    }
    int c;
    while (line.size() < limit && (c = std::fgetc(file)) != EOF && c != '\n')
        line += char(c);
    std::fclose(file);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

std::string FileErrorText(const std::string& what, const std::string& path, const std::string& reason)
{
    return what + ": " + path + (reason.empty() ? std::string() : " (" + reason + ")");
}

}  // namespace ravo
