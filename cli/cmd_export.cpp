#include <cstdio>

#include "cli/commands.h"
#include "cli/png/export_png.h"
#include "cli/saved_log_check.h"
#include "divedata/dive_export.h"
#include "firmware/file_util.h"

namespace ravo::cli {
namespace {

struct ExportOptions {
    std::string unit;
    std::string stamp;
    std::string format;
    std::string out;
    std::string curves;
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
                sub.add_option("--curves", options->curves,
                               "The picture's optional curves: temp,o2,dil or none (default: those switched on in "
                               "the desktop program)");
            },
            [options](CliContext& context) {
                ExportFormat format;
                if (!ParseExportFormat(options->format, format)) {
                    std::fprintf(stderr, "--format: expected uddf, csv, svg or png, not \"%s\"\n",
                                 options->format.c_str());
                    return int(kExitUsage);
                }
                const AppConfig& config = context.app.config;
                GraphCurves curves{config.graphTemperature, config.graphO2, config.graphDil};
                if (!options->curves.empty() && !ParseGraphCurves(options->curves, curves)) {
                    std::fprintf(stderr, "--curves: expected temp, o2 and dil separated by commas, or none, not \"%s\"\n",
                                 options->curves.c_str());
                    return int(kExitUsage);
                }
                // The same checks as `show`: junk is never exported as a dive.
                const std::string folder = absolutePath(context.app.config.diveFolder);
                if (!checkSavedLog(folder, options->unit, options->stamp,
                                   SavedLogBasePath(folder, options->unit, options->stamp)))
                    return int(kExitFailed);
                CDiveLog log;
                // The reader's own messages add nothing to what the check said.
                log.loadFromFile(folder, options->unit, options->stamp, nullptr);
                const std::string out = absolutePath(options->out);
                if (format == ExportFormat::Png) {
                    std::string error;
                    if (!WritePngExport(DrawDiveProfile(log, kExportWidth, kExportHeight, curves), out, error)) {
                        std::fprintf(stderr, "%s\n", error.c_str());
                        return int(kExitFailed);
                    }
                } else if (std::string reason; ExportDiveFile(log, StartTimeFromDateKind(options->stamp), format, out,
                                                              kExportWidth, kExportHeight, &reason, curves) != 0) {
                    std::fprintf(stderr, "Can not write %s (%s)\n", out.c_str(), reason.c_str());
                    return int(kExitFailed);
                }
                if (log.partial)
                    std::fprintf(stderr, "%s\n", PartialLogNote(log).c_str());
                std::fprintf(stderr, "%zu samples exported to %s\n", log.samples.size(), out.c_str());
                return int(kExitOk);
            }};
}

}  // namespace ravo::cli
