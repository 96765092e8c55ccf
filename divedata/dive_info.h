#pragma once
#include <cstdint>

namespace ravo {

// One entry of a unit's dive or redbox log directory.
struct CDiveInfo {
    uint16_t unitNumber = 0xFFFF;
    uint16_t index = 0;
};

}  // namespace ravo
