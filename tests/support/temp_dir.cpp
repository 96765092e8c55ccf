#include "support/temp_dir.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace ravo::test {

TempDir::TempDir()
{
    // A new folder of a random name; create_directory fails on one that exists.
    static std::mt19937_64 random{std::random_device{}() ^
                                  uint64_t(std::chrono::steady_clock::now().time_since_epoch().count())};
    std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "ravo-test-%012llx", (unsigned long long)(random() & 0xFFFFFFFFFFFFull));
        std::error_code ec;
        if (std::filesystem::create_directory(base / name, ec)) {
            path_ = (base / name).string();
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

std::string TempDir::file(const std::string& name) const
{
    return path_ + char(std::filesystem::path::preferred_separator) + name;
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFile(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

}  // namespace ravo::test
