#include <cstdio>

#include "cli/commands.h"
#include "cli/json_output.h"
#include "divedata/logbook.h"
#include "firmware/file_util.h"
#include "link/unit_time.h"
#include "link/utf8_text.h"

namespace ravo::cli {
namespace {

struct LogbookOptions {
    std::string unit;
    std::string sort = "start";
    bool reverse = false;
};

std::string columnNames()
{
    std::string names;
    for (int c = 0; c < kLogbookColumns; ++c)
        names += (c ? ", " : "") + LogbookColumnName(LogbookColumn(c));
    return names;
}

Json rowJson(const LogbookRow& row)
{
    const DiveFigures& f = row.figures;
    Json dive = Json::object();
    dive["unit"] = row.unit;
    putName(dive, "log", row.log);
    if (row.hasStart) {
        dive["start"] = isoTime(row.startTime);
        std::string local = FormatUnitTimeLocal(row.startTime);
        local[10] = 'T';
        dive["startLocal"] = local;
    }
    if (row.readable) {
        dive["durationSeconds"] = f.lastTime;
        dive["records"] = f.records;
    }
    if (f.hasDepth)
        dive["maxDepthMetres"] = f.maxDepth;
    if (f.hasTemp)
        dive["lowestTemperature"] = f.tempMin;
    if (f.hasO2)
        dive["oxygenUsedBar"] = int(f.o2Start - f.o2Stop);
    if (f.hasDil)
        dive["diluentUsedBar"] = int(f.dilStart - f.dilStop);
    dive["partial"] = row.partial.partial;
    if (row.partial.partial) {
        dive["records"] = row.partial.records;
        if (row.partial.expected > 0)
            dive["recordsExpected"] = row.partial.expected;
    }
    return dive;
}

void printJsonTable(const std::string& folder, const std::vector<LogbookRow>& rows, LogbookColumn sort, bool reverse)
{
    Json dives = Json::array();
    for (const LogbookRow& row : rows)
        dives.push_back(rowJson(row));
    const LogbookTotals totals = TotalsOf(rows);
    Json sum = {{"dives", totals.dives}, {"totalSeconds", totals.totalSeconds}};
    if (totals.hasDepth)
        sum["deepestMetres"] = totals.deepest;
    Json document = Json::object();
    putName(document, "folder", folder);
    document["sort"] = LogbookColumnName(sort);
    document["descending"] = reverse;
    document["dives"] = dives;
    document["totals"] = sum;
    printJson(document);
}

// Columns padded to their widest cell, two spaces apart; the totals last.
void printTable(const std::vector<LogbookRow>& rows)
{
    std::vector<std::vector<std::string>> lines(rows.size() + 1);
    for (int c = 0; c < kLogbookColumns; ++c)
        lines[0].push_back(LogbookColumnTitle(LogbookColumn(c)));
    for (size_t r = 0; r < rows.size(); ++r)
        for (int c = 0; c < kLogbookColumns; ++c)
            lines[r + 1].push_back(LogbookCellText(rows[r], LogbookColumn(c)));
    std::vector<int> widths(kLogbookColumns, 0);
    for (const auto& line : lines)
        for (int c = 0; c < kLogbookColumns; ++c)
            widths[c] = std::max(widths[c], Utf8CharCount(line[c]));
    for (const auto& line : lines) {
        std::string text;
        for (int c = 0; c < kLogbookColumns; ++c) {
            text += line[c];
            if (c + 1 < kLogbookColumns)
                text += std::string(size_t(widths[c] - Utf8CharCount(line[c]) + 2), ' ');
        }
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        std::fputs((text + "\n").c_str(), stdout);
    }
    std::fputs((LogbookTotalsText(TotalsOf(rows)) + "\n").c_str(), stdout);
}

int logbook(CliContext& context, const LogbookOptions& o)
{
    LogbookColumn sort;
    if (!ParseLogbookColumn(o.sort, sort)) {
        std::fprintf(stderr, "--sort: expected one of %s, not \"%s\"\n", columnNames().c_str(), o.sort.c_str());
        return kExitUsage;
    }
    context.app.listSavedDives();
    const std::string folder = context.app.config.diveFolder;
    DiveFiguresCache cache(folder);
    LogbookProgress progress;
    std::FILE* status = context.output.statusStream();
    // The first look at many dives reads every file: say how far it is.
    if (status)
        progress.report = [&](size_t done, size_t total) {
            if (total >= 250 && (done % 250 == 0 || done == total) && cache.filesRead() > 0)
                std::fprintf(status, "Reading dive %zu of %zu\n", done, total);
        };
    std::vector<LogbookRow> rows = BuildLogbook(cache, context.app.savedDiveNames, progress);
    const std::string unit = !o.unit.empty() ? o.unit : context.unitText;
    rows = FilterLogbook(rows, unit);
    SortLogbook(rows, sort, !o.reverse);
    if (context.output.json)
        printJsonTable(absolutePath(folder), rows, sort, o.reverse);
    else
        printTable(rows);
    return kExitOk;
}

}  // namespace

CliCommand logbookCommand()
{
    auto options = std::make_shared<LogbookOptions>();
    return {"logbook",
            "The logbook: every dive saved in the dive folder with its unit, start (UTC and local), duration, "
            "greatest depth, lowest temperature, O2 and diluent used, records and partial mark, then the totals.",
            [options](CLI::App& sub) {
                // `ravo-cli logbook --json` as well as `ravo-cli --json logbook`.
                sub.fallthrough();
                sub.add_option("--unit", options->unit, "Only the dives of this unit (\"00AB\")");
                sub.add_option("--sort", options->sort,
                               "The column to sort by: " + columnNames() + " (default start)");
                sub.add_flag("--reverse", options->reverse, "Sort from the highest value down");
            },
            [options](CliContext& context) { return logbook(context, *options); },
            true};
}

}  // namespace ravo::cli
