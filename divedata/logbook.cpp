#include "divedata/logbook.h"

#include <algorithm>
#include <set>
#include <tuple>

#include "divedata/detail/text_format_p.h"
#include "divedata/dive_log.h"
#include "divedata/graph_ticks.h"
#include "divedata/time_texts.h"
#include "link/unit_number.h"
#include "link/unit_time.h"

namespace ravo {
namespace {

struct ColumnInfo {
    LogbookColumn column;
    const char* name;
    const char* title;
};
const ColumnInfo kColumns[kLogbookColumns] = {
    {LogbookColumn::Unit, "unit", "Unit"},
    {LogbookColumn::Start, "start", "Start (UTC)"},
    {LogbookColumn::StartLocal, "local", "Start (local)"},
    {LogbookColumn::Duration, "duration", "Duration (min)"},
    {LogbookColumn::MaxDepth, "depth", "Max depth (m)"},
    {LogbookColumn::MinTemp, "temperature", "Lowest temp (\xC2\xB0" "C)"},
    {LogbookColumn::O2Used, "o2", "O2 used (bar)"},
    {LogbookColumn::DilUsed, "dil", "Diluent used (bar)"},
    {LogbookColumn::Records, "records", "Records"},
    {LogbookColumn::Partial, "partial", "Partial"},
};

const ColumnInfo& infoOf(LogbookColumn column)
{
    return kColumns[std::clamp(int(column), 0, kLogbookColumns - 1)];
}

// The value a numeric column sorts by; false when the dive has none.
bool sortValue(const LogbookRow& row, LogbookColumn column, double& value)
{
    const DiveFigures& f = row.figures;
    switch (column) {
    case LogbookColumn::Start:
    case LogbookColumn::StartLocal: value = row.startTime; return row.hasStart;
    case LogbookColumn::Duration: value = double(f.lastTime); return row.readable;
    case LogbookColumn::MaxDepth: value = f.maxDepth; return f.hasDepth;
    case LogbookColumn::MinTemp: value = f.tempMin; return f.hasTemp;
    case LogbookColumn::O2Used: value = f.o2Start - f.o2Stop; return f.hasO2;
    case LogbookColumn::DilUsed: value = f.dilStart - f.dilStop; return f.hasDil;
    case LogbookColumn::Records: value = f.records; return row.readable;
    case LogbookColumn::Partial: value = row.partial.partial ? 1.0 : 0.0; return true;
    case LogbookColumn::Unit: break;
    }
    return false;
}

// Start order: the tie-breaker of every sort.
bool startsBefore(const LogbookRow& a, const LogbookRow& b)
{
    return std::tie(a.startTime, a.log, a.unit) < std::tie(b.startTime, b.log, b.unit);
}

}  // namespace

std::string LogbookColumnTitle(LogbookColumn column)
{
    return infoOf(column).title;
}

std::string LogbookColumnName(LogbookColumn column)
{
    return infoOf(column).name;
}

bool ParseLogbookColumn(const std::string& name, LogbookColumn& column)
{
    for (const ColumnInfo& info : kColumns)
        if (name == info.name) {
            column = info.column;
            return true;
        }
    return false;
}

std::string LogbookCellText(const LogbookRow& row, LogbookColumn column)
{
    const DiveFigures& f = row.figures;
    switch (column) {
    case LogbookColumn::Unit: return row.unit;
    case LogbookColumn::Start: return row.hasStart ? FormatUnitTime(row.startTime) : row.log;
    case LogbookColumn::StartLocal: return row.hasStart ? FormatUnitTimeLocal(row.startTime) : std::string();
    case LogbookColumn::Duration: return row.readable ? MinutesSecondsText(f.lastTime) : std::string();
    case LogbookColumn::MaxDepth: return f.hasDepth ? detail::textC("%.1f", f.maxDepth) : std::string();
    case LogbookColumn::MinTemp: return f.hasTemp ? detail::textC("%.2f", f.tempMin) : std::string();
    case LogbookColumn::O2Used: return f.hasO2 ? detail::textC("%d", int(f.o2Start - f.o2Stop)) : std::string();
    case LogbookColumn::DilUsed: return f.hasDil ? detail::textC("%d", int(f.dilStart - f.dilStop)) : std::string();
    case LogbookColumn::Records: return row.readable ? std::to_string(f.records) : std::string();
    case LogbookColumn::Partial:
        return row.partial.partial ? PartialRecordsText(row.partial.records, row.partial.expected) : std::string();
    }
    return {};
}

void SortLogbook(std::vector<LogbookRow>& rows, LogbookColumn column, bool ascending)
{
    std::sort(rows.begin(), rows.end(), startsBefore);
    if (column == LogbookColumn::Unit) {
        std::stable_sort(rows.begin(), rows.end(), [ascending](const LogbookRow& a, const LogbookRow& b) {
            return ascending ? a.unit < b.unit : b.unit < a.unit;
        });
        return;
    }
    std::stable_sort(rows.begin(), rows.end(), [column, ascending](const LogbookRow& a, const LogbookRow& b) {
        double va = 0.0, vb = 0.0;
        const bool ha = sortValue(a, column, va);
        const bool hb = sortValue(b, column, vb);
        if (ha != hb)
            return ha;  // without the figure: last
        if (!ha)
            return false;
        return ascending ? va < vb : vb < va;
    });
}

std::vector<std::string> LogbookUnits(const std::vector<LogbookRow>& rows)
{
    std::set<std::string> units;
    for (const LogbookRow& row : rows)
        units.insert(row.unit);
    return {units.begin(), units.end()};
}

std::vector<LogbookRow> FilterLogbook(const std::vector<LogbookRow>& rows, const std::string& unit)
{
    if (trimmed(unit).empty())
        return rows;
    const std::string wanted = formatUnitNumber(parseUnitNumber(unit));
    std::vector<LogbookRow> kept;
    for (const LogbookRow& row : rows)
        if (row.unit == wanted)
            kept.push_back(row);
    return kept;
}

LogbookTotals TotalsOf(const std::vector<LogbookRow>& rows)
{
    LogbookTotals totals;
    totals.dives = rows.size();
    for (const LogbookRow& row : rows) {
        if (row.readable)
            totals.totalSeconds += row.figures.lastTime;
        if (row.figures.hasDepth) {
            totals.deepest = totals.hasDepth ? std::max(totals.deepest, row.figures.maxDepth) : row.figures.maxDepth;
            totals.hasDepth = true;
        }
    }
    return totals;
}

std::string LogbookTotalsText(const LogbookTotals& totals)
{
    std::string text = detail::textC("%u %s, total time ", unsigned(totals.dives), totals.dives == 1 ? "dive" : "dives") +
                       DurationText(totals.totalSeconds);
    if (totals.hasDepth)
        text += detail::textC(", deepest %.1f m", totals.deepest);
    return text;
}

std::string SavedDiveFiguresText(const LogbookRow& row)
{
    std::string text = row.unit + " " + LogbookCellText(row, LogbookColumn::Start) + " UTC";
    if (!row.readable)
        return text + "\nThe sample file cannot be read";
    const DiveFigures& f = row.figures;
    text += "\nDuration " + MinutesSecondsText(f.lastTime) + " min";
    if (f.hasDepth)
        text += detail::textC(", max depth %.1f m", f.maxDepth);
    if (f.hasTemp)
        text += detail::textC("\nTemperature %.2f to %.2f \xC2\xB0" "C", f.tempMin, f.tempMax);
    if (f.hasO2)
        text += detail::textC("\nO2 %d to %d bar", int(f.o2Start), int(f.o2Stop));
    if (f.hasDil)
        text += detail::textC("\nDiluent %d to %d bar", int(f.dilStart), int(f.dilStop));
    // Appended piece by piece: GCC 12 at -O3 (the Windows build) warns of an
    // overlap in "literal" + temporary.
    text += '\n';
    text += row.partial.partial ? PartialRecordsText(row.partial.records, row.partial.expected)
                                : RecordsOfText(f.records, 0);
    return text;
}

LogbookRow LogbookRowFor(DiveFiguresCache& cache, const std::string& unit, const std::string& log)
{
    LogbookRow row;
    row.unit = unit;
    row.log = log;
    // The stamp is the start in UTC: 2012-05-06_14-22-33, then the slot and kind.
    row.hasStart = ParseUnitTime(log.substr(0, 19), row.startTime);
    const std::string baseName = SavedLogBasePath(std::string(), unit, log);
    row.readable = cache.figuresFor(baseName, row.figures);
    row.partial = SavedDiveLogPartial(cache.folder(), baseName);
    return row;
}

std::vector<LogbookRow> BuildLogbook(DiveFiguresCache& cache, const std::vector<std::string>& names,
                                     const LogbookProgress& progress)
{
    const std::vector<SavedUnitGroup> groups = GroupSavedLogs(names);
    size_t total = 0;
    for (const SavedUnitGroup& group : groups)
        total += group.logs.size();
    std::vector<LogbookRow> rows;
    rows.reserve(total);
    std::vector<std::string> baseNames;
    baseNames.reserve(total);
    for (const SavedUnitGroup& group : groups)
        for (const std::string& log : group.logs) {
            if (progress.stop && progress.stop->load())
                return rows;
            rows.push_back(LogbookRowFor(cache, group.unit, log));
            baseNames.push_back(SavedLogBasePath(std::string(), group.unit, log));
            if (progress.report)
                progress.report(rows.size(), total);
        }
    cache.retainOnly(baseNames);
    cache.save();
    return rows;
}

}  // namespace ravo
