#pragma once
#include <string>
#include <vector>

#include "divedata/dive_log.h"

namespace ravo {

// One dive of an export file.
struct ExportDive {
    const CDiveLog* log = nullptr;
    // Start in UTC as "2012-05-06T14:22:33" (the saved log's stamp); the
    // log's own start time when empty.
    std::string startIso;
    int slot = 1;  // 2, 3, ... for further dives of the same start second
};

// The dive's start in UTC: "2012-05-06T14:22:33Z".
std::string ExportStartUtc(const ExportDive& dive);

// The gases a dive's header names, where it names them: the oxygen's
// assumed fraction (1 to 100 %) and the diluent's helium and nitrogen (the
// rest oxygen; together 1 to 100 %). A header that was not read back (all
// zero) names none.
struct DiveGases {
    bool oxygenKnown = false;
    int oxygenPercent = 0;
    bool diluentKnown = false;
    int diluentO2Percent = 0, diluentHePercent = 0, diluentN2Percent = 0;
};
DiveGases GasesOfHeader(const CDiveHeaderOrangebox& header);

// True when the header holds bytes (a downloaded log, or one whose header
// bytes were read back from its text file); a log loaded by name alone has
// only the text line.
bool HeaderBytesKnown(const CDiveHeaderOrangebox& header);

// The dives as one UDDF 3.2 document that validates against the UDDF 3.2.3
// schema: each unit as a dive computer with an oxygen and a diluent
// cylinder; the gas mixes the headers name (or unnamed "Oxygen" and
// "Diluent" mixes); per dive a unique id (unit, start time and slot), its
// start in UTC ("...Z"), the rebreather apparatus, tank data linked to the
// mix and the cylinder (begin pressure from the header, else the first
// sample; end from the last sample), one waypoint per sample record (time s,
// the depth last reported m, temperature K, tank pressure Pa referring to its
// cylinder), the dive mode at the first waypoint (closed circuit unless the
// header says the mouthpiece started open), greatest depth, duration, lowest
// temperature, and a note on a partial log. Dives without a log are skipped.
std::string FormatUddf(const std::vector<ExportDive>& dives);

// The UDDF of a single dive.
std::string FormatDiveUddf(const CDiveLog& log, const std::string& startIso);

}  // namespace ravo
