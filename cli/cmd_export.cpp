#include <cstdio>

#include "cli/commands.h"
#include "cli/png/export_pdf.h"
#include "cli/png/export_png.h"
#include "cli/saved_log_check.h"
#include "divedata/dive_export.h"
#include "divedata/dive_report.h"
#include "divedata/saved_dive.h"
#include "divedata/saved_dives_export.h"
#include "divedata/text_file.h"
#include "firmware/file_util.h"

namespace ravo::cli {
namespace {

struct ExportOptions {
    std::string unit;
    std::vector<std::string> stamps;
    bool all = false;
    std::string unitFilter;
    std::string folder;
    std::string format;
    std::string out;
    std::string paper = "a4";
    std::string curves;
};

// The dives the options name, or false after saying why (a usage error sets
// `usage`).
bool chooseDives(const ExportOptions& o, const std::string& folder, ExportFormat format,
                 std::vector<SavedDiveRef>& refs, bool& usage)
{
    usage = true;
    if (o.all && (!o.unit.empty() || !o.stamps.empty())) {
        std::fprintf(stderr, "--all exports every saved dive (of --unit U): give no UNIT or STAMP with it\n");
        return false;
    }
    if (!o.all && !o.unitFilter.empty()) {
        std::fprintf(stderr, "--unit chooses the unit of --all; without --all give UNIT STAMP...\n");
        return false;
    }
    if (!o.all && (o.unit.empty() || o.stamps.empty())) {
        std::fprintf(stderr, "export: give UNIT and at least one STAMP, or --all\n");
        return false;
    }
    usage = false;
    if (o.all) {
        refs = ListSavedDives(folder, o.unitFilter);
        if (refs.empty()) {
            std::fprintf(stderr, "No saved dives%s%s in %s\n", o.unitFilter.empty() ? "" : " of unit ",
                         o.unitFilter.c_str(), folder.c_str());
            return false;
        }
    } else {
        for (const std::string& stamp : o.stamps)
            refs.push_back(SavedDiveRef{o.unit, stamp});
    }
    if ((format == ExportFormat::Svg || format == ExportFormat::Png) && refs.size() != 1) {
        std::fprintf(stderr, "--format %s draws one dive; give one UNIT STAMP\n", ExportExtension(format));
        usage = true;
        return false;
    }
    return true;
}

// Loads the dives; one whose files are no dive log is left out after the
// check says why. False when any was left out.
bool loadDives(const std::string& folder, const std::vector<SavedDiveRef>& refs, std::vector<SavedDive>& dives)
{
    bool all = true;
    for (const SavedDiveRef& ref : refs) {
        if (!checkSavedLog(folder, ref.unit, ref.stamp, SavedLogBasePath(folder, ref.unit, ref.stamp))) {
            all = false;
            continue;
        }
        dives.emplace_back();
        // The reader's own messages add nothing to what the check said.
        LoadSavedDive(folder, ref, dives.back(), nullptr);
    }
    return all;
}

int writeExport(const ExportOptions& o, ExportFormat format, PaperSize paper, const GraphCurves& curves,
                const std::vector<SavedDive>& dives, const std::string& out)
{
    std::string error;
    if (format == ExportFormat::Png) {
        if (!WritePngExport(DrawDiveProfile(dives.front().log, kExportWidth, kExportHeight, curves), out, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return kExitFailed;
        }
        return kExitOk;
    }
    if (format == ExportFormat::Pdf) {
        std::vector<DiveReportPage> pages;
        for (const SavedDive& dive : dives)
            pages.push_back(BuildDiveReportPage(dive));
        if (!WritePdfReport(pages, paper, out, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return kExitFailed;
        }
        return kExitOk;
    }
    std::string content;
    // One dive named by UNIT STAMP keeps the single-dive CSV.
    const bool single = !o.all && dives.size() == 1;
    if (format == ExportFormat::Svg)
        content = FormatDiveSvg(dives.front().log, kExportWidth, kExportHeight, curves);
    else if (format == ExportFormat::Csv && single)
        content = FormatDiveCsv(dives.front().log);
    else
        content = FormatSavedDives(dives, format);
    if (std::string reason; WriteFileReplacing(out, content, &reason) != 0) {
        std::fprintf(stderr, "Can not write %s (%s)\n", out.c_str(), reason.c_str());
        return kExitFailed;
    }
    return kExitOk;
}

int runExport(CliContext& context, const ExportOptions& o)
{
    ExportFormat format;
    if (!ParseExportFormat(o.format, format)) {
        std::fprintf(stderr, "--format: expected uddf, csv, svg, png or pdf, not \"%s\"\n", o.format.c_str());
        return kExitUsage;
    }
    PaperSize paper;
    if (!ParsePaperSize(o.paper, paper)) {
        std::fprintf(stderr, "--paper: expected a4 or letter, not \"%s\"\n", o.paper.c_str());
        return kExitUsage;
    }
    const AppConfig& config = context.app.config;
    GraphCurves curves{config.graphTemperature, config.graphO2, config.graphDil};
    if (!o.curves.empty() && !ParseGraphCurves(o.curves, curves)) {
        std::fprintf(stderr, "--curves: expected temp, o2 and dil separated by commas, or none, not \"%s\"\n",
                     o.curves.c_str());
        return kExitUsage;
    }
    const std::string folder = absolutePath(o.folder.empty() ? context.app.config.diveFolder : o.folder);
    std::vector<SavedDiveRef> refs;
    bool usage = false;
    if (!chooseDives(o, folder, format, refs, usage))
        return usage ? kExitUsage : kExitFailed;
    // The same checks as `show`: junk is never exported as a dive.
    std::vector<SavedDive> dives;
    const bool everyDive = loadDives(folder, refs, dives);
    if (dives.empty())
        return kExitFailed;
    const std::string out = absolutePath(o.out);
    if (int result = writeExport(o, format, paper, curves, dives, out); result != kExitOk)
        return result;
    size_t samples = 0;
    for (const SavedDive& dive : dives) {
        samples += dive.log.samples.size();
        if (dive.log.partial)
            std::fprintf(stderr, "%s %s: %s\n", dive.ref.unit.c_str(), dive.ref.stamp.c_str(),
                         PartialLogNote(dive.log).c_str());
    }
    std::fprintf(stderr, "%zu dive%s, %zu samples exported to %s\n", dives.size(), dives.size() == 1 ? "" : "s",
                 samples, out.c_str());
    if (!everyDive) {
        std::fprintf(stderr, "%zu of %zu dives left out (see above)\n", refs.size() - dives.size(), refs.size());
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace

CliCommand exportCommand()
{
    auto options = std::make_shared<ExportOptions>();
    return {"export",
            "Export saved dives: UDDF 3.2 (several dives in one file), CSV of the samples, a PDF report (a page per "
            "dive), or one dive's profile graph as SVG or PNG. UNIT STAMP... names dives as `saved` lists them; "
            "--all takes every saved dive, or those of --unit U.",
            [options](CLI::App& sub) {
                sub.add_option("UNIT", options->unit, "The unit as `saved` lists it (\"00AB\")");
                sub.add_option("STAMP", options->stamps,
                               "The logs as `saved` lists them (\"2012-05-06_14-22-33_O\"), one or more");
                sub.add_flag("--all", options->all, "Every saved dive of the dive folder (of --unit U)");
                sub.add_option("--unit", options->unitFilter, "With --all: only this unit's dives (\"1A2B\")");
                sub.add_option("--folder", options->folder, "The dive folder to read (default: DIVEFOLDER)");
                sub.add_option("--format", options->format, "uddf, csv, pdf, svg or png")->required();
                sub.add_option("--out", options->out, "The file to write")->required();
                sub.add_option("--paper", options->paper, "The PDF report's paper: a4 (default) or letter");
                sub.add_option("--curves", options->curves,
                               "The SVG or PNG picture's optional curves: temp,o2,dil or none (default: those "
                               "switched on in the desktop program)");
            },
            [options](CliContext& context) { return runExport(context, *options); }};
}

}  // namespace ravo::cli
