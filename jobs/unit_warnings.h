#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "jobs/unit_versions.h"
#include "settings/unit_settings.h"

namespace ravo {

// How much a finding about the unit matters, most urgent first.
enum class WarningSeverity {
    Danger,   // the unit is not fit to dive as it stands
    Caution,  // to put right before diving
    Notice,   // worth doing, nothing unsafe
};

// One finding: what is wrong and what to do, as one line.
struct UnitWarning {
    WarningSeverity severity = WarningSeverity::Notice;
    std::string text;
    bool operator==(const UnitWarning&) const = default;
};

// What the last information read learned, and what lies beside it.
struct UnitWarningFacts {
    std::optional<double> voltage;              // volts, when measured
    std::optional<UnitVersions> versions;       // when read
    std::optional<UnitSettings> settings;       // a whole read only
    uint32_t settingsReadAt = 0;                // unit time of that read, by the PC's clock
    std::vector<std::string> firmwareFiles;     // names in the firmware folder
};

// The findings, most urgent first: a failed self or pre-dive test, an O2 cell
// that does not answer or reads outside its plausible band, a low battery,
// a unit clock more than a minute off, a service date passed, and firmware
// older than the newest file in the firmware folder. Nothing for what was
// not read.
std::vector<UnitWarning> unitWarnings(const UnitWarningFacts& facts);

// "Danger", "Caution" or "Notice".
const char* severityName(WarningSeverity severity);

}  // namespace ravo
