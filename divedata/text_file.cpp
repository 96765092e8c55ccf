#include "divedata/text_file.h"

#include <atomic>
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
    const int pid = getpid();
#endif
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

}  // namespace

int WriteFileReplacing(const std::string& path, const std::string& content)
{
    if (path.empty())
        return -1;
    std::string temporary = temporaryNameFor(path);
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return -1;
    bool ok = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    ok = flushToDisk(file) && ok;
    ok = std::fclose(file) == 0 && ok;
    std::error_code error;
    if (ok) {
        std::filesystem::rename(temporary, path, error);
        ok = !error;
    }
    if (!ok) {
        std::filesystem::remove(temporary, error);
        return -1;
    }
    return 0;
}

bool ReadWholeFile(const std::string& path, std::string& content)
{
    content.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        content.append(buffer, n);
    bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

bool ReadFirstLine(const std::string& path, std::string& line, size_t limit)
{
    line.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    int c;
    while ((c = std::fgetc(file)) != EOF && c != '\n') {
        if (line.size() < limit)
            line += char(c);
    }
    std::fclose(file);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

}  // namespace ravo
