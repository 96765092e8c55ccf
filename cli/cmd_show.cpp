#include <cstdio>

#include "cli/commands.h"
#include "divedata/dive_graph.h"
#include "divedata/dive_summary.h"
#include "divedata/text_file.h"

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
            [options](CliContext& context) {
                int width = 0, height = 0;
                if (!parseSize(options->size, width, height)) {
                    std::fprintf(stderr, "--size: expected WxH, each 1 to 10000, not \"%s\"\n",
                                 options->size.c_str());
                    return int(kExitUsage);
                }
                CDiveLog log;
                FileMessages messages;
                log.loadFromFile(context.app.config.diveFolder, options->unit, options->stamp, &messages);
                for (const std::string& text : messages)
                    std::fprintf(stderr, "%s\n", text.c_str());
                DiveGraph graph;
                graph.SetData(&log);
                std::string summary = DiveSummaryText(log, graph);
                for (size_t at; (at = summary.find("\r\n")) != std::string::npos;)
                    summary.replace(at, 2, "\n");
                std::fputs((summary + "\n").c_str(), stdout);
                if (log.samples.empty()) {
                    std::fprintf(stderr, "No saved dive %s %s in %s\n", options->unit.c_str(),
                                 options->stamp.c_str(), context.app.config.diveFolder.c_str());
                    return int(kExitFailed);
                }
                if (!options->svgPath.empty() &&
                    WriteFileReplacing(options->svgPath, RenderSvg(graph.Draw(width, height))) != 0) {
                    std::fprintf(stderr, "Can not write %s\n", options->svgPath.c_str());
                    return int(kExitFailed);
                }
                return int(kExitOk);
            }};
}

}  // namespace ravo::cli
