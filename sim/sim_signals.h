#pragma once
#include <atomic>

namespace ravo::sim {

// Ctrl-C and termination set `stop`; where the platform has SIGUSR1 it sets
// `dump`. A broken connection never ends the program.
void installSimSignals(std::atomic<bool>& stop, std::atomic<bool>& dump);

}  // namespace ravo::sim
