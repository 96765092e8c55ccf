#pragma once
#include <string>

namespace ravo {

// Whether `path` can serve as a firmware file before anything is asked of
// the unit: it must be a regular file that can be read and is not empty.
// Empty when it can, else the reason ("is a folder", ...).
std::string firmwareFileProblem(const std::string& path);

}  // namespace ravo
