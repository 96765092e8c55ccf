#pragma once
#include <string>
#include <vector>

#include "sim/sim_state.h"

namespace ravo::sim {

struct SimPresetInfo {
    std::string name;
    std::string description;
};

// The name `sim` without a preset stands for.
inline constexpr const char* kDefaultPreset = "default";

// Every preset, in the order --list-presets prints them.
const std::vector<SimPresetInfo>& simPresets();

// The table --list-presets prints: one line per preset, its name and what it is.
std::string presetTable();

// The unit of preset `name` ("" is the default). False for an unknown name.
bool presetState(const std::string& name, SimState& out);

// A unit of firmware `version` with generated logs: dives of the given record
// counts and `redboxCount` redbox logs, all from `seed`.
SimState generatedUnit(uint16_t version, const std::vector<uint32_t>& diveRecords, int redboxCount,
                       uint64_t seed = 1, uint16_t unitNumber = 0x1234);

}  // namespace ravo::sim
