#pragma once
#include <string>

#include <nlohmann/json.hpp>

#include "sim/sim_state.h"

namespace ravo::sim {

// Builds a unit from scenario text (JSON; format in the README: a preset to
// start from, then any field to override). False with the reason in `error`;
// nothing throws.
bool loadScenario(const std::string& text, SimState& out, std::string& error);
bool loadScenarioFile(const std::string& path, SimState& out, std::string& error);

// The whole state in the scenario format; loading it gives the same unit.
nlohmann::json stateToJson(const SimState& state);

}  // namespace ravo::sim
