#pragma once
#include <string>
#include <vector>

namespace ravo::test {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    // `name` in this folder, joined with the platform's separator as the program joins paths.
    std::string file(const std::string& name) const;

private:
    std::string path_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);
// The lines of `text`, without their LF ends.
std::vector<std::string> splitLines(const std::string& text);

}  // namespace ravo::test
