#pragma once
#include <string>
#include <vector>

namespace ravo {

// Lists the base names of the dive logs saved in `folder` (creating the folder
// when it is missing), sorted by name. Returns the number found.
int ListSavedDiveLogs(const std::string& folder, std::vector<std::string>& names);

}  // namespace ravo
