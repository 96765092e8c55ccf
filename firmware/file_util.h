#pragma once
#include <string>

namespace ravo {

// The platform's folder separator, used when joining folder and file names.
inline constexpr char kFolderSeparator =
#ifdef _WIN32
    '\\';
#else
    '/';
#endif

// Folder helpers shared by the firmware list and the log files. Both accept
// '/' and '\\' as separators.
class CFileUtil {
public:
    // Creates `path` and, when its parent is missing, the parent first (the
    // same way, so any depth). -1 for an empty path, 0 when it already
    // exists, 1 after trying to create it.
    static int CreateFolder(const std::string& path);
    // The folder part of `path`: trimmed of " \r\n"; when a '.' follows the
    // first character the last component is taken for a file name and cut
    // off; trailing separators removed. Written with the platform's separator.
    static std::string FolderOf(const std::string& path);
};

// Joins a folder and a name with the platform's separator; the name alone
// when the folder is empty.
std::string joinFolder(const std::string& folder, const std::string& name);

// `path` made absolute against the current folder and without "." or ".."
// steps, for messages that must name a file exactly; unchanged when empty.
std::string absolutePath(const std::string& path);

}  // namespace ravo
