#pragma once
#include <optional>

#include "jobs/unit_versions.h"
#include "settings/unit_settings.h"

namespace ravo {

class JobContext;

// What the versions and voltage read found; a value not read stays empty.
struct UnitReading {
    std::optional<UnitVersions> versions;
    std::optional<double> voltage;  // volts
};

// The steps of the unit information job, each reporting its own lines
// through the job.

// Versions into `reading` (and the job's versions), then the battery, then
// the voltage check: 1 when everything passed; -1 without a link; -2 voltage
// outside range; -3 stopped; -4 no versions reply.
int ReadVersionsAndVoltage(JobContext& job, UnitReading& reading);

// The lowest battery voltage a unit is read and dived with.
inline constexpr double kLowestGoodVoltage = 3.5;

// A measured voltage below kLowestGoodVoltage (0 means not measured).
bool voltageTooLow(double volts);

// 1, or -2 with the charge line for a voltage that is too low.
int CheckVoltage(JobContext& job, double voltage);

// Tells the job's events that the unit answered, so it goes into the tree.
void SendUnitFound(JobContext& job);

// Every setting and status value into `settings`: 1 done; -1 stopped, no
// link or access handshake failed; -2 a required read failed (the fields read
// so far stay, `valid` stays 0).
int ReadSettings(JobContext& job, UnitSettings& settings);

}  // namespace ravo
