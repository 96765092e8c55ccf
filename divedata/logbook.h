#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "divedata/dive_figures.h"
#include "divedata/figures_cache.h"
#include "divedata/saved_logs.h"

namespace ravo {

// One saved dive as the logbook lists it.
struct LogbookRow {
    std::string unit;  // "00AB", as the tree's unit node
    std::string log;   // "2012-05-06_14-22-33_O", as the tree's log node
    bool hasStart = false;
    uint32_t startTime = 0;  // unit time of the start, taken from the name (UTC)
    bool readable = false;   // the sample file could be read
    DiveFigures figures;
    SavedLogPartial partial;
};

// The logbook's columns, in the order they are shown.
enum class LogbookColumn { Unit, Start, StartLocal, Duration, MaxDepth, MinTemp, O2Used, DilUsed, Records, Partial };
inline constexpr int kLogbookColumns = 10;

// "Start (UTC)", "Max depth (m)", ...: the column's title.
std::string LogbookColumnTitle(LogbookColumn column);
// "unit", "start", "local", "duration", "depth", "temperature", "o2", "dil",
// "records", "partial": the column's name on the command line.
std::string LogbookColumnName(LogbookColumn column);
bool ParseLogbookColumn(const std::string& name, LogbookColumn& column);

// A cell as shown: "2012-05-06 14:22:33", "222:10", "52.0", empty where the
// dive has no such figure.
std::string LogbookCellText(const LogbookRow& row, LogbookColumn column);

// Sorts by a column; rows without its figure go last either way, equal ones
// stay in start order.
void SortLogbook(std::vector<LogbookRow>& rows, LogbookColumn column, bool ascending);

// The distinct units of the rows, ascending.
std::vector<std::string> LogbookUnits(const std::vector<LogbookRow>& rows);
// The rows of one unit ("00AB", or as typed: "ab"); every row for an empty text.
std::vector<LogbookRow> FilterLogbook(const std::vector<LogbookRow>& rows, const std::string& unit);

struct LogbookTotals {
    size_t dives = 0;
    uint64_t totalSeconds = 0;
    bool hasDepth = false;
    double deepest = 0.0;
};
LogbookTotals TotalsOf(const std::vector<LogbookRow>& rows);
// "3 dives, total time 4:12:30, deepest 52.0 m" (no depth part without depths).
std::string LogbookTotalsText(const LogbookTotals& totals);

// The figures of a saved dive in a few lines, for the tree's tooltip.
std::string SavedDiveFiguresText(const LogbookRow& row);

// How far building the logbook has come; `stop` ends it early.
struct LogbookProgress {
    std::function<void(size_t done, size_t total)> report;
    const std::atomic<bool>* stop = nullptr;
};

// A row for every saved dive log in `names` (base names as ListSavedDiveLogs
// gives them) of the cache's dive folder, grouped and labelled as the navigation tree shows them, in
// unit then start order. The figures come through `cache` from the files the
// dive view reads, the partial mark through SavedDiveLogPartial. Unless
// stopped, the cache then forgets removed dives and is saved.
std::vector<LogbookRow> BuildLogbook(DiveFiguresCache& cache, const std::vector<std::string>& names,
                                     const LogbookProgress& progress = {});

// One row for the saved dive `log` of `unit` (tree labels), as BuildLogbook
// makes it.
LogbookRow LogbookRowFor(DiveFiguresCache& cache, const std::string& unit, const std::string& log);

}  // namespace ravo
