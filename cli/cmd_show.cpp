#include <cstdio>

#include "cli/commands.h"
#include "cli/json_output.h"
#include "cli/saved_log_check.h"
#include "divedata/dive_export.h"
#include "divedata/dive_graph.h"
#include "divedata/dive_summary.h"
#include "divedata/sample_csv.h"
#include "divedata/text_file.h"
#include "firmware/file_util.h"

namespace ravo::cli {
namespace {

struct ShowOptions {
    std::string unit;
    std::string stamp;
    std::string svgPath;
    std::string size = "800x500";
};

bool parseSize(const std::string& text, int& width, int& height)
{
    unsigned w = 0, h = 0;
    char extra = 0;
    if (std::sscanf(text.c_str(), "%ux%u%c", &w, &h, &extra) != 2)
        return false;
    if (w < 1 || h < 1 || w > 10000 || h > 10000)
        return false;
    width = int(w);
    height = int(h);
    return true;
}

Json summaryJson(const ShowOptions& o, const CDiveLog& log, const DiveGraph& graph, const std::string& base)
{
    Json doc = Json::object();
    putName(doc, "unit", o.unit);
    putName(doc, "log", o.stamp);
    doc["kind"] = log.isDive ? "dive" : "redbox";
    putNames(doc, "files", {base + ".txt", base + ".csv"});
    doc["records"] = log.info.recordCount;
    doc["partial"] = log.partial;
    if (log.partial && log.expectedRecords > 0)
        doc["recordsExpected"] = log.expectedRecords;
    // The stamp is the log's start in UTC: 2012-05-06_14-22-33.
    if (o.stamp.size() >= 19) {
        std::string start = o.stamp.substr(0, 10) + " " + o.stamp.substr(11, 8);
        for (size_t i = 11; i < start.size(); ++i)
            if (start[i] == '-')
                start[i] = ':';
        Json iso = jsonCell(start);
        if (iso.is_string() && iso.get<std::string>() != start)
            doc["start"] = iso;
    }
    if (graph.hasDepth) {
        doc["durationMinutes"] = graph.maxTime / 60.0;
        doc["maxDepthMetres"] = graph.maxDepth;
    }
    if (graph.hasTemp)
        doc["temperature"] = {{"min", graph.tempMin}, {"max", graph.tempMax}};
    if (graph.hasDil)
        doc["diluentBar"] = {{"start", int(graph.dilStart)}, {"stop", int(graph.dilStop)}};
    if (graph.hasO2)
        doc["oxygenBar"] = {{"start", int(graph.o2Start)}, {"stop", int(graph.o2Stop)}};
    return doc;
}

int show(CliContext& context, const ShowOptions& o)
{
    int width = 0, height = 0;
    if (!parseSize(o.size, width, height)) {
        std::fprintf(stderr, "--size: expected WxH, each 1 to 10000, not \"%s\"\n", o.size.c_str());
        return kExitUsage;
    }
    const std::string folder = absolutePath(context.app.config.diveFolder);
    const std::string base = SavedLogBasePath(folder, o.unit, o.stamp);
    if (!checkSavedLog(folder, o.unit, o.stamp, base))
        return kExitFailed;
    CDiveLog log;
    // The reader's own messages name no file; checkSavedLog said what matters.
    log.loadFromFile(folder, o.unit, o.stamp, nullptr);
    DiveGraph graph;
    graph.SetData(&log);
    if (context.output.json) {
        printJson(summaryJson(o, log, graph, base));
    } else {
        std::string summary = DiveSummaryText(log, graph);
        for (size_t at; (at = summary.find("\r\n")) != std::string::npos;)
            summary.replace(at, 2, "\n");
        std::fputs((summary + "\n").c_str(), stdout);
    }
    std::string reason;
    if (!o.svgPath.empty() && WriteFileReplacing(o.svgPath, FormatDiveSvg(log, width, height), &reason) != 0) {
        std::fprintf(stderr, "Can not write %s (%s)\n", absolutePath(o.svgPath).c_str(), reason.c_str());
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace

CliCommand showCommand()
{
    auto options = std::make_shared<ShowOptions>();
    return {"show",
            "Show a saved dive as the dive view does: its summary, and with --svg its profile drawn into an SVG "
            "file.",
            [options](CLI::App& sub) {
                sub.add_option("UNIT", options->unit, "The unit as `saved` lists it (\"00AB\")")->required();
                sub.add_option("STAMP", options->stamp, "The log as `saved` lists it (\"2012-05-06_14-22-33_O\")")
                    ->required();
                sub.add_option("--svg", options->svgPath, "Write the profile graph to this SVG file");
                sub.add_option("--size", options->size, "Size of the graph in pixels, WxH (default 800x500)");
            },
            [options](CliContext& context) { return show(context, *options); },
            true};
}

}  // namespace ravo::cli
