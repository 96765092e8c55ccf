#pragma once
#include <optional>
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

// Shown for a value that was not read.
inline constexpr char kNotRead[] = "--";

// The six info values in the order the view labels them: "Voltage",
// "Software", "Display", "Battery", "Backpack", "HUD"; "--" for what was not
// read (no voltage reply; no versions reply, or versions a firmware update
// made stale).
std::vector<std::pair<std::string, std::string>> unitInfoTexts(const std::optional<double>& volts,
                                                               const std::optional<UnitVersions>& versions);

// An info value as the window shows it: the voltage with its unit ("4.050 V");
// "--" and the version texts as they are.
std::string infoValueOnScreen(const std::string& caption, const std::string& value);

// The name a screen reader reads for a label that shows a value: the caption,
// a blank and the value, its lines joined by "; " ("Voltage 4.050 V"); a value
// not read ("--" or empty) is named "not read".
std::string valueLabelName(const std::string& caption, const std::string& value);

}  // namespace ravo
