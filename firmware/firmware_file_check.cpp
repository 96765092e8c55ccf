#include "firmware/firmware_file_check.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace ravo {

std::string firmwareFileProblem(const std::string& path)
{
    std::error_code ec;
    const std::filesystem::path p(path);
    if (path.empty() || !std::filesystem::exists(p, ec))
        return "does not exist";
    if (std::filesystem::is_directory(p, ec))
        return "is a folder";
    if (!std::filesystem::is_regular_file(p, ec))
        return "is not a regular file";
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file)
        return "cannot be read";
    if (std::fgetc(file.get()) == EOF)
        return "is empty";
    return {};
}

}  // namespace ravo
