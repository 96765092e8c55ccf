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
std::string DiveSummaryText(const CDiveLog& log, const DiveGraph& graph);

}  // namespace ravo
