#pragma once

namespace ravo {

// The record of the unit's settings and status values.
struct UnitSettings {
    // Back to the state before anything was read.
    void reset() { *this = UnitSettings{}; }
};

}  // namespace ravo
