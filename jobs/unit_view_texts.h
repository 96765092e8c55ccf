#pragma once
#include <string>
#include <utility>
#include <vector>

#include "jobs/unit_versions.h"

namespace ravo {

// The texts the unit view shows after a job.

// "%0.3f" volts.
std::string voltageText(double volts);
// The software version: main version in hexadecimal, with "b" and the beta
// number, or else "p" and the patch number, when non-zero ("12b03", "12p0A", "12").
std::string softwareVersionText(const UnitVersions& versions);
// "ver %d  (HW %d)".
std::string moduleVersionText(int software, int hardware);

// The six info values in the order the view labels them: "Voltage",
// "Software", "Display", "Battery", "Backpack", "HUD".
std::vector<std::pair<std::string, std::string>> unitInfoTexts(double volts, const UnitVersions& versions);

}  // namespace ravo
