#pragma once
#include <cstdint>

namespace ravo {

// The unit's fifteen version numbers, as the versions reply carries them.
struct UnitVersions {
    uint8_t bytes[15] = {};

    void clear() { *this = UnitVersions{}; }
};

}  // namespace ravo
