#pragma once
#include <memory>
#include <string>

#include "link/clock.h"
#include "link/transport.h"
#include "sim/sim_unit.h"

namespace ravo::sim {

// The device record of the simulated unit, so the user can tell that no real
// unit answers.
inline constexpr const char* kSimDeviceName = "Simulated unit";

// A transport that reaches `unit` in this process. Requests are answered in
// the caller's thread during send(); replies become readable when the unit's
// clock reaches their delivery time.
std::unique_ptr<Transport> makeSimTransport(std::shared_ptr<SimUnit> unit);

// Live units behind "sim:NAME". A name is looked up among the registered
// units first, then created from the preset of that name (or, for a name
// ending in ".json", from that scenario file) and kept for the life of the
// process, so a unit keeps its state across Close and Open, restarts and
// recoveries. "sim" alone is the default preset. Null with `error` set for an
// unknown preset or a bad scenario.
std::shared_ptr<SimUnit> simUnitFor(const std::string& name, std::string& error);
void registerSimUnit(const std::string& name, std::shared_ptr<SimUnit> unit);
// Drops every live unit (tests).
void forgetSimUnits();
// The clock given to the units the registry creates from now on (null: the
// system clock). Not owned.
void setSimClock(Clock* clock);

}  // namespace ravo::sim
