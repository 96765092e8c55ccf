#include <cstdio>

#include "cli/commands.h"
#include "cli/png/export_png.h"
#include "divedata/dive_export.h"

namespace ravo::cli {
namespace {

struct ExportOptions {
    std::string unit;
    std::string stamp;
    std::string format;
    std::string out;
};

}  // namespace

CliCommand exportCommand()
{
    auto options = std::make_shared<ExportOptions>();
    return {"export",
            "Export a saved dive: UDDF 3.2 (date, depth, duration, samples), CSV of the samples, or its profile "
            "graph as SVG or PNG.",
            [options](CLI::App& sub) {
                sub.add_option("UNIT", options->unit, "The unit as `saved` lists it (\"00AB\")")->required();
                sub.add_option("STAMP", options->stamp, "The log as `saved` lists it (\"2012-05-06_14-22-33_O\")")
                    ->required();
                sub.add_option("--format", options->format, "uddf, csv, svg or png")->required();
                sub.add_option("--out", options->out, "The file to write")->required();
            },
            [options](CliContext& context) {
                ExportFormat format;
                if (!ParseExportFormat(options->format, format)) {
                    std::fprintf(stderr, "--format: expected uddf, csv, svg or png, not \"%s\"\n",
                                 options->format.c_str());
                    return int(kExitUsage);
                }
                CDiveLog log;
                FileMessages messages;
                log.loadFromFile(context.app.config.diveFolder, options->unit, options->stamp, &messages);
                for (const std::string& text : messages)
                    std::fprintf(stderr, "%s\n", text.c_str());
                if (log.samples.empty()) {
                    std::fprintf(stderr, "No saved dive %s %s in %s\n", options->unit.c_str(),
                                 options->stamp.c_str(), context.app.config.diveFolder.c_str());
                    return int(kExitFailed);
                }
                if (format == ExportFormat::Png) {
                    std::string error;
                    if (!WritePngExport(DrawDiveProfile(log, kExportWidth, kExportHeight), options->out, error)) {
                        std::fprintf(stderr, "%s\n", error.c_str());
                        return int(kExitFailed);
                    }
                } else if (ExportDiveFile(log, StartTimeFromDateKind(options->stamp), format, options->out) != 0) {
                    std::fprintf(stderr, "Can not write %s\n", options->out.c_str());
                    return int(kExitFailed);
                }
                std::fprintf(stderr, "%zu samples exported to %s\n", log.samples.size(), options->out.c_str());
                return int(kExitOk);
            }};
}

}  // namespace ravo::cli
