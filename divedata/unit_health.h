#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "divedata/saved_dive.h"

namespace ravo {

// The health figures one dive's header holds: the two O2 cells' output at
// the start, the battery's state of charge and the days since the learn
// cycle. A dive whose header bytes are not known (not saved, or not valid)
// has none and takes no part in the rules.
struct HealthDive {
    std::string stamp;  // the saved log's stamp-and-kind label
    bool known = false;
    int cellMv[2] = {0, 0};  // sensor 1 and 2, mV
    int batterySoC = 0;      // %
    int daysSinceLearn = 0;
    uint16_t batterySerial = 0, rigSerial = 0;
    bool partial = false;
};

// The rules' thresholds.
struct HealthThresholds {
    int plausibleLowMv = 30;   // a start output below this is not plausible
    int plausibleHighMv = 70;  // ... nor above this
    int medianDives = 10;      // a cell is compared with its median over this many dives before
    int medianMinDives = 3;    // ... once it has at least this many
    double dropShare = 0.10;   // flagged when more than this share below that median
    double partnerShare = 0.15;  // flagged when the cells differ by more than this share of their mean
};

enum class HealthRule { OutOfBand, BelowMedian, ApartFromPartner };

// One finding on one dive: `cell` 1 or 2, or 0 for the pair.
struct HealthFlag {
    size_t dive = 0;  // index into HealthReport::dives
    int cell = 0;
    HealthRule rule = HealthRule::OutOfBand;
    std::string text;  // "Cell 2 38 mV is 21% below its median of 48 mV"
};

struct HealthReport {
    std::string unit;              // "1A2B"
    std::vector<HealthDive> dives;  // in date order
    std::vector<HealthFlag> flags;  // by dive, then cell
    HealthThresholds thresholds;

    // The flags of one dive, joined by "; " (empty when it has none).
    std::string flagsText(size_t dive) const;
};

// The figures of a dive whose header bytes are known (`header` decoded).
HealthDive HealthDiveOf(const std::string& stamp, const CDiveHeaderOrangebox& header, bool partial);

// Applies the rules to `dives` (date order) for `unit`:
// - a cell whose start output is outside plausibleLowMv..plausibleHighMv;
// - a cell more than dropShare below the median of its own outputs on the
//   medianDives known dives before (once there are medianMinDives);
// - cells whose outputs differ by more than partnerShare of their mean.
HealthReport AssessHealth(const std::string& unit, std::vector<HealthDive> dives,
                          const HealthThresholds& thresholds = {});

// The unit's saved dives in `folder`, read from their header files, in date
// order.
std::vector<HealthDive> ReadHealthDives(const std::string& folder, const std::string& unit);

// The warning line above the trend: the flags of the latest known dive
// ("Warning (2012-05-06_14-22-33_O): Cell 2 ..."), and how many earlier
// dives are flagged; "No warnings" when no dive is; "No dive of this unit
// holds health figures" when none is known.
std::string HealthWarningLine(const HealthReport& report);

// The table the window and the command line show: a title row and one row
// per dive (stamp, cell 1 mV, cell 2 mV, battery %, days since learn,
// flags); "-" where a dive's header is not known.
std::vector<std::vector<std::string>> HealthTableRows(const HealthReport& report);

}  // namespace ravo
