#include "firmware/file_util.h"

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <sys/stat.h>

#ifdef _WIN32
#include <direct.h>
#endif

namespace ravo {
namespace {

bool isSeparator(char c)
{
    return c == '/' || c == '\\';
}

std::string withPlatformSeparators(std::string path)
{
    for (char& c : path)
        if (isSeparator(c))
            c = kFolderSeparator;
    return path;
}

bool pathExists(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

// 0 on success, else errno.
int makeFolder(const std::string& path)
{
#ifdef _WIN32
    int result = ::_mkdir(path.c_str());
#else
    int result = ::mkdir(path.c_str(), 0777);
#endif
    return result == 0 ? 0 : errno;
}

std::string trimmedOf(const std::string& text, const char* blanks)
{
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

}  // namespace

int CFileUtil::CreateFolder(const std::string& given)
{
    std::string path = given;
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    path = trimmedOf(path, " \t\r\n");
    if (path.empty())
        return -1;
    std::string native = withPlatformSeparators(path);
    if (pathExists(native))
        return 0;
    if (makeFolder(native) == ENOENT) {
        size_t cut = path.find_last_of("/\\");
        if (cut != std::string::npos && cut > 0)
            CreateFolder(path.substr(0, cut));
        makeFolder(native);
    }
    return 1;
}

std::string CFileUtil::FolderOf(const std::string& given)
{
    std::string path = trimmedOf(given, " \r\n");
    for (char& c : path)
        if (c == '/')
            c = '\\';
    if (path.find('.', 1) != std::string::npos) {
        size_t cut = path.rfind('\\');
        path.erase(cut == std::string::npos ? 0 : cut);
    }
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    return withPlatformSeparators(path);
}

std::string joinFolder(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    if (isSeparator(folder.back()))
        return folder + name;
    return folder + kFolderSeparator + name;
}

std::string absolutePath(const std::string& path)
{
    if (path.empty())
        return path;
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(path, ec);
    return ec ? path : full.lexically_normal().string();
}

}  // namespace ravo
