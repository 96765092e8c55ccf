#include <cstdio>

#include "cli/commands.h"
#include "cli/log_saving_printer.h"

namespace ravo::cli {

CliCommand diveCommand()
{
    auto index = std::make_shared<int>(0);
    return {"dive", "Download one dive log, save it in the dive folder and print the full paths of its two files.",
            [index](CLI::App& sub) {
                sub.add_option("INDEX", *index, "The dive's index on the unit (as `dives` lists it)")
                    ->required()
                    ->check(CLI::Range(0, 65535));
            },
            [index](CliContext& context) {
                LogSavingPrinter printer(context);
                const JobOutcome outcome = runLogJob(context, LogKind::Dive, *index, printer);
                if (!outcome.connected())
                    return int(kExitFailed);
                if (!printer.delivered) {
                    reportJobFailure(context);
                    std::fprintf(stderr, "Dive %d was not downloaded.\n", *index);
                    return int(kExitFailed);
                }
                if (printer.entryMissing) {
                    std::fprintf(stderr, "The unit has no dive with index %d.\n", *index);
                    return int(kExitFailed);
                }
                if (reportIncompleteLog(outcome, printer, "Dive", *index))
                    return int(kExitFailed);
                printSavedFiles(context, printer, context.app.config.diveFolder);
                if (printer.saveResult != kLogSaved)
                    return int(kExitFailed);
                return int(jobInterrupted() ? kExitFailed : kExitOk);
            },
            true};
}

}  // namespace ravo::cli
