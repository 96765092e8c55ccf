#include "firmware/firmware_list.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "firmware/file_util.h"

namespace ravo {
namespace {

bool hasEncExtension(const std::string& name)
{
    static const char kExtension[] = ".enc";
    if (name.size() <= 4)
        return false;
    for (size_t i = 0; i < 4; ++i)
        if (std::tolower(static_cast<unsigned char>(name[name.size() - 4 + i])) != kExtension[i])
            return false;
    return true;
}

bool startsWithNoCase(const std::string& text, const std::string& prefix)
{
    if (prefix.size() > text.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

// As a person reads a list: case ignored, then byte order to keep names
// that differ only in case apart and in a fixed order.
bool readsBefore(const std::string& a, const std::string& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        int x = std::tolower(static_cast<unsigned char>(a[i]));
        int y = std::tolower(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

}  // namespace

int ListFirmwareFiles(FirmwareFileList& list, const std::string& folder)
{
    CFileUtil::CreateFolder(folder);
    list.names.clear();
    list.folder = folder;
    namespace fs = std::filesystem;
    std::error_code error;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        std::string name = it->path().filename().string();
        if (hasEncExtension(name))
            list.names.push_back(name);
    }
    std::sort(list.names.begin(), list.names.end(), readsBefore);
    return int(list.names.size());
}

std::string firmwareFilePath(const FirmwareFileList& list, const std::string& name)
{
    return joinFolder(list.folder, name);
}

int defaultFirmwareChoice(const std::vector<std::string>& names, const std::string& previous)
{
    if (names.empty())
        return -1;
    for (size_t i = 0; !previous.empty() && i < names.size(); ++i)
        if (startsWithNoCase(names[i], previous))
            return int(i);
    return int(names.size()) - 1;
}

}  // namespace ravo

namespace ravo {

int firmwareFileVersion(const std::string& name)
{
    const std::string stem = hasEncExtension(name) ? name.substr(0, name.size() - 4) : name;
    int version = -1;
    size_t i = 0;
    while (i < stem.size()) {
        if (!std::isalnum(static_cast<unsigned char>(stem[i]))) {
            ++i;
            continue;
        }
        size_t end = i;
        bool hex = true;
        while (end < stem.size() && std::isalnum(static_cast<unsigned char>(stem[end]))) {
            hex = hex && std::isxdigit(static_cast<unsigned char>(stem[end]));
            ++end;
        }
        if (hex && end - i == 4)
            version = int(std::stoul(stem.substr(i, 4), nullptr, 16));
        i = end;
    }
    return version;
}

}  // namespace ravo
