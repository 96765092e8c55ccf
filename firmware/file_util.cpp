#include "firmware/file_util.h"

#include <cerrno>
#include <climits>
#include <cwchar>
#include <filesystem>
#include <locale>
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

// A path's text in the narrow encoding it was made from. Where paths are
// wide (Windows), path(std::string) reads the text with the C library's
// multibyte conversion but path::string() writes UTF-8, so a name with "ÿ"
// would come back as "Ã¿"; the same conversion back keeps the text as given.
[[maybe_unused]] std::string narrowText(const std::string& native)
{
    return native;
}

[[maybe_unused]] std::string narrowText(const std::wstring& native)
{
    struct Conversion : std::codecvt<wchar_t, char, std::mbstate_t> {};
    Conversion conversion;
    std::string out(native.size() * MB_LEN_MAX, '\0');
    std::mbstate_t state{};
    const wchar_t* fromNext = nullptr;
    char* toNext = nullptr;
    const auto result = conversion.out(state, native.data(), native.data() + native.size(), fromNext, out.data(),
                                       out.data() + out.size(), toNext);
    if (result != std::codecvt_base::ok || fromNext != native.data() + native.size())
        return std::filesystem::path(native).string();
    out.resize(size_t(toNext - out.data()));
    return out;
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
    return ec ? path : narrowText(full.lexically_normal().native());
}

}  // namespace ravo
