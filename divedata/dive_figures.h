#pragma once
#include <cstdint>
#include <vector>

#include "divedata/dive_record.h"

namespace ravo {

// What a dive's samples say about it as a whole, read in one pass: the
// figures the dive view prints, the logbook lists and the figures cache
// keeps. Times are seconds since the log started, the 16-bit sample clock's
// wraps counted (see sample_clock.h).
struct DiveFigures {
    uint32_t records = 0;   // sample records read
    uint64_t lastTime = 0;  // time of the latest sample of any kind: the dive's length
    bool hasDepth = false;
    double maxDepth = 0.0;  // metres
    bool hasTemp = false;
    double tempMin = 0.0, tempMax = 0.0;  // degrees
    bool hasDil = false;
    double dilStart = 0.0, dilStop = 0.0;  // bar, first and last sample
    bool hasO2 = false;
    double o2Start = 0.0, o2Stop = 0.0;

    bool operator==(const DiveFigures&) const = default;
};

DiveFigures ComputeDiveFigures(const std::vector<CDiveDataRecord>& samples);

}  // namespace ravo
