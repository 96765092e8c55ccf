#pragma once
#include <string>

namespace ravo::cli {

// Before `show` or `export` reads a saved dive (`unit` and `stamp` as
// `saved` lists them, `base` its path without extension): its sample file
// must be there, be a regular file and hold samples and nothing else. When
// not, says what is wrong on standard error, naming the file, and returns
// false. A missing header file is only noted.
bool checkSavedLog(const std::string& folder, const std::string& unit, const std::string& stamp,
                   const std::string& base);

}  // namespace ravo::cli
