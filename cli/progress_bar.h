#pragma once
#include <cstdint>
#include <string>

namespace ravo::cli {

// One line of a download's progress: a 40-character bar, the percent, the
// records done of all, the rate in records per second and the time left, as
// "[##########                              ]  25%  300/1200 records  150 rec/s  0:06 left".
// The rate and the time left are "--" until records arrived in measurable time.
std::string recordBarText(uint64_t done, uint64_t total, uint64_t elapsedMs);

// The bar and percent alone, for work not counted in records (firmware).
std::string percentBarText(int percent);

}  // namespace ravo::cli
