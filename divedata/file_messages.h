#pragma once
#include <string>
#include <vector>

namespace ravo {

// Error messages of the log files, collected for the caller to show (the GUI
// in a message box, the command line on standard error). Null collects nothing.
using FileMessages = std::vector<std::string>;

inline void reportFileError(FileMessages* messages, const std::string& text)
{
    if (messages)
        messages->push_back(text);
}

}  // namespace ravo
