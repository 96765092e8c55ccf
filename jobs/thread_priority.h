#pragma once
#include <cstdint>

namespace ravo {

// Raises the calling thread one step above normal priority (where the process
// may) and returns the platform's id of the thread.
uint32_t raiseCurrentThreadPriority();

}  // namespace ravo
