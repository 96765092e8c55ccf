#include "firmware/regular_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include "link/c_format.h"

namespace ravo {
namespace {

RegularFileCheck refusedForError(int error)
{
    RegularFileCheck check;
    check.missing = error == ENOENT || error == ENOTDIR;
    check.reason = check.missing ? "the file does not exist" : systemErrorText(error);
    return check;
}

// What the open file is, from its status.
RegularFileCheck judge(const struct stat& info, uint64_t maxBytes)
{
    RegularFileCheck check;
    check.size = uint64_t(info.st_size);
    if ((info.st_mode & S_IFMT) == S_IFDIR) {
        check.notAFile = true;
        check.reason = "it is a folder, not a file";
    } else if ((info.st_mode & S_IFMT) != S_IFREG) {
        check.notAFile = true;
        check.reason = "it is not a regular file (a pipe or a device)";
    } else if (check.size > maxBytes) {
        check.tooLarge = true;
        check.reason = formatC("the file is larger than %llu bytes (%llu bytes)", (unsigned long long)maxBytes,
                               (unsigned long long)check.size);
    } else {
        check.ok = true;
    }
    return check;
}

}  // namespace

std::string systemErrorText(int error)
{
    return std::strerror(error);
}

std::FILE* OpenRegularFile(const std::string& path, uint64_t maxBytes, RegularFileCheck& check)
{
    if (path.empty()) {
        check = refusedForError(ENOENT);
        return nullptr;
    }
#ifdef _WIN32
    // No pipes in the file system here, but devices ("NUL", "CON") are.
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) {
        check = refusedForError(errno);
        return nullptr;
    }
    check = judge(info, maxBytes);
    if (!check.ok)
        return nullptr;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        check = refusedForError(errno);
    return file;
#else
    // Without O_NONBLOCK the open of a pipe waits for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        check = refusedForError(errno);
        return nullptr;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        check = refusedForError(errno);
        ::close(fd);
        return nullptr;
    }
    check = judge(info, maxBytes);
    if (!check.ok) {
        ::close(fd);
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = ::fdopen(fd, "rb");
    if (!file) {
        check = refusedForError(errno);
        ::close(fd);
    }
    return file;
#endif
}

RegularFileCheck CheckRegularFile(const std::string& path, uint64_t maxBytes)
{
    RegularFileCheck check;
    if (std::FILE* file = OpenRegularFile(path, maxBytes, check))
        std::fclose(file);
    return check;
}

bool ReadRegularFile(const std::string& path, uint64_t maxBytes, std::string& content, RegularFileCheck* result)
{
    content.clear();
    RegularFileCheck check;
    std::FILE* file = OpenRegularFile(path, maxBytes, check);
    if (file) {
        char buffer[65536];
        size_t n;
        // The size was checked, but the file may grow while it is read.
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0 && content.size() <= maxBytes)
            content.append(buffer, n);
        if (std::ferror(file)) {
            check = refusedForError(errno ? errno : EIO);
        } else if (content.size() > maxBytes) {
            check.ok = false;
            check.tooLarge = true;
            check.reason = formatC("the file is larger than %llu bytes", (unsigned long long)maxBytes);
        }
        std::fclose(file);
        if (!check.ok)
            content.clear();
    }
    if (result)
        *result = check;
    return check.ok;
}

}  // namespace ravo
