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
                WorkTask& worker = *context.app.worker;
                worker.unitNumber = context.app.config.currentUnitNumber();
                worker.logIndex = uint16_t(*index);
                LogSavingPrinter printer(context);
                if (runLogJob(context, JOB_DIVE_LOG, printer) != 0)
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
                if (reportIncompleteLog(context, printer, "Dive", *index))
                    return int(kExitFailed);
                printSavedFiles(context, printer, context.app.config.diveFolder);
                if (printer.saveResult != kLogSaved)
                    return int(kExitFailed);
                return int(jobInterrupted() ? kExitFailed : kExitOk);
            },
            true};
}

}  // namespace ravo::cli
