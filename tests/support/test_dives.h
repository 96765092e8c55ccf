#pragma once
#include <cstdint>
#include <vector>

#include "divedata/dive_log.h"

namespace ravo::test {

// A whole dive log of `unit` started at unit time `start`, holding `samples`.
CDiveLog testDive(uint32_t unit, uint32_t start, std::vector<CDiveDataRecord> samples);

}  // namespace ravo::test
