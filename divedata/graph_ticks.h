#pragma once
#include <cstdint>
#include <vector>

namespace ravo {

// Where an axis gets its labelled ticks: at round values, as many as fit
// with at least `minSpacing` pixels between them.

// The smallest step of 1, 2 or 5 times a power of ten, and at least
// `minStep`, that puts ticks over `range` at least `minSpacing` apart on an
// axis `pixels` long.
double RoundStep(double range, double pixels, double minSpacing, double minStep);

// The same for a time axis in seconds: 30 s, 1, 2, 5, 10, 15, 20 or 30 min,
// then whole hours (1, 2, 3, 6, 12, 24, ...).
uint64_t RoundTimeStep(uint64_t range, double pixels, double minSpacing);

// The multiples of `step` from `lo` to `hi`, both included.
std::vector<double> TickValues(double lo, double hi, double step);

}  // namespace ravo
