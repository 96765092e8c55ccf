#pragma once

#include <string>

#include "jobs/job_events.h"

namespace ravo {

// What a directory read left out, in one line: the entries that did not
// answer, or the count the unit did not give. Empty for a whole directory.
std::string DirectoryGapText(const LogDirectory& directory);

}  // namespace ravo
