#pragma once
#include <cstdint>

#include "sim/sim_state.h"

namespace ravo::sim {

// A small deterministic generator (splitmix64): the same seed gives the same
// logs on every platform.
class SimRandom {
public:
    explicit SimRandom(uint64_t seed) : state_(seed) {}
    uint64_t next();
    // A whole number in [low, high].
    int range(int low, int high);
    // A real number in [low, high).
    double real(double low, double high);

private:
    uint64_t state_;
};

// What a generated dive log looks like.
struct DivePlan {
    uint64_t seed = 1;
    uint32_t records = 1200;   // exact number of sample records
    uint32_t startTime = 0;    // unit time
    uint16_t unitNumber = 0x1234;
    uint8_t softwareVersion = 0x49;
    uint16_t logNumber = 1;    // the unit's running log count
    uint16_t dilN2Percent = 79;
    uint16_t dilHePercent = 0;
    uint16_t batterySerial = 0x0A1B;
    double maxDepthM = 0;      // 0: chosen from the seed
    // The O2 cells' start output in the header, mV; -1: chosen from the seed
    // (cell 2 within 2 mV of cell 1, as two healthy cells read).
    int cellMv[2] = {-1, -1};
};

// A dive: descent, bottom phase, ascent with stops, samples of depth (8),
// temperature (39), O2 and diluent pressure (13, 14) and sensor PO2 (20, 21)
// and battery charge (33) in time order, and a valid header whose decoded
// fields all hold plausible values.
SimLog generateDive(const DivePlan& plan);

// What a generated redbox log looks like.
struct RedboxPlan {
    uint64_t seed = 1;
    uint32_t records = 60;
    uint32_t startTime = 0;
    uint16_t unitSerial = 0x1234;  // 0xFFFF: the unit had lost its number
    uint32_t serviceDate = 0;
    uint8_t layoutLevel = 43;
    uint8_t softwareVersion = 0x49;
};

// A redbox (event) log with a valid header of the extended layout.
SimLog generateRedbox(const RedboxPlan& plan);

}  // namespace ravo::sim
