#pragma once
#include <cstdint>
#include <string>

namespace ravo {

// Lengths of time as the program shows them.

// In minutes, as the graph's time axis labels a time: "45", or "12.5" for a
// time that is not a whole minute.
std::string MinutesLabel(double seconds);

// Minutes and seconds, as a dive's time is read against that axis: "222:10",
// "0:05".
std::string MinutesSecondsText(uint64_t seconds);

// "m:ss", or "h:mm:ss" from an hour on: a time left, a total time.
std::string DurationText(uint64_t seconds);

}  // namespace ravo
