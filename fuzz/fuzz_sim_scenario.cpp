// Scenario files of the simulated unit: any text is refused with a reason or
// gives a unit whose dump loads back to the same state.
#include <cstddef>
#include <cstdint>
#include <string>

#include "sim/sim_scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    ravo::sim::SimState state;
    std::string error;
    if (!ravo::sim::loadScenario(text, state, error))
        return 0;
    // Huge generated logs are legal but slow; keep runs short.
    if (state.diveLogs.size() + state.redboxLogs.size() > 64)
        return 0;
    ravo::sim::SimState again;
    if (!ravo::sim::loadScenario(ravo::sim::stateToJson(state).dump(), again, error))
        __builtin_trap();
    return 0;
}
