#pragma once
#include <string>
#include <vector>

#include "divedata/dive_export.h"
#include "divedata/saved_dive.h"

namespace ravo {

// True for the formats that hold several dives in one file (UDDF, CSV).
bool HoldsSeveralDives(ExportFormat format);

// Loaded dives as one UDDF document or one multi-dive CSV file; empty for a
// format that holds one dive only.
std::string FormatSavedDives(const std::vector<SavedDive>& dives, ExportFormat format);

// Loads the saved dives `refs` names from `folder` and writes them to `path`
// as one UDDF or CSV file (replacing a file there). 0; -1 when a dive cannot
// be read (nothing is written) or the file cannot be written, the reason in
// `reason` (optional); -2 for a format that holds one dive only.
int ExportSavedDives(const std::string& folder, const std::vector<SavedDiveRef>& refs, ExportFormat format,
                     const std::string& path, std::string* reason = nullptr);

// "2 dives exported to /home/d/dives.uddf" ("1 dive ...").
std::string DivesExportedText(size_t dives, const std::string& path);

}  // namespace ravo
