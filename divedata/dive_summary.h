#pragma once
#include <string>

#include "divedata/dive_graph.h"
#include "divedata/dive_log.h"

namespace ravo {

inline constexpr char kSelectDiveLog[] = "Select a dive log";

// The dive view's summary of `log` with the figures `graph` computed from it
// (after graph.SetData(&log)): "Select a dive log" for a log without records,
// otherwise the unit line, for a partial log the line "Partial log: records
// 4600 of 12000", and one line (CR LF before each) per figure found.
// With `onScreen` the temperatures carry their unit ("12.00 \u00B0C"), as the
// window shows them; files and the command line keep the text without it.
std::string DiveSummaryText(const CDiveLog& log, const DiveGraph& graph, bool onScreen = false);

}  // namespace ravo
