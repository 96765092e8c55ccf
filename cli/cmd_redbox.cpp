#include <cstdio>

#include "cli/commands.h"
#include "cli/log_saving_printer.h"
#include "divedata/log_list_rows.h"
#include "jobs/log_directory_text.h"

namespace ravo::cli {
namespace {

struct RedboxOptions {
    int index = -1;
    std::string out;
};

}  // namespace

CliCommand redboxCommand()
{
    auto options = std::make_shared<RedboxOptions>();
    return {"redbox",
            "Without INDEX: read the unit's redbox log directory (rows as `dives`). With INDEX: download that redbox "
            "log and write its .cvsr file.",
            [options](CLI::App& sub) {
                sub.add_option("INDEX", options->index, "The redbox log's index on the unit")
                    ->check(CLI::Range(0, 65535));
                sub.add_option("--out", options->out,
                               "Where the .cvsr file goes (default: the proposed path in the dive folder, or next to "
                               "the last redbox file)");
            },
            [options](CliContext& context) {
                const uint16_t unit = context.app.config.currentUnitNumber();
                if (options->index < 0) {
                    StatusPrinter printer(context.output);
                    const JobOutcome outcome =
                        runJob(context, DirectoryRequest{unit, LogKind::Redbox, context.app.worker->keepLinkOpen()},
                               &printer);
                    if (!outcome.connected())
                        return int(kExitFailed);
                    const LogDirectory& read = printer.directory;
                    if (outcome.code() != 1 && read.complete()) {
                        reportJobFailure(context);
                        return int(kExitFailed);
                    }
                    // The entries read are listed, and those not read as rows
                    // that say so.
                    printDirectoryRows(context, read);
                    if (!read.complete()) {
                        const std::string text = DirectoryGapText(read);
                        std::fprintf(stderr, "%s\n", text.c_str());
                        return int(kExitFailed);
                    }
                    return int(kExitOk);
                }
                LogSavingPrinter printer(context, options->out);
                const JobOutcome outcome = runLogJob(context, LogKind::Redbox, options->index, printer);
                if (!outcome.connected())
                    return int(kExitFailed);
                if (!printer.delivered) {
                    reportJobFailure(context);
                    std::fprintf(stderr, "Redbox log %d was not downloaded.\n", options->index);
                    return int(kExitFailed);
                }
                if (printer.entryMissing) {
                    std::fprintf(stderr, "The unit has no redbox log with index %d.\n", options->index);
                    return int(kExitFailed);
                }
                if (reportIncompleteLog(outcome, printer, "Redbox log", options->index))
                    return int(kExitFailed);
                printSavedFiles(context, printer,
                                options->out.empty() ? context.app.config.redboxFolder : options->out);
                if (printer.saveResult != kLogSaved || printer.savedPaths.empty())
                    return int(kExitFailed);
                return int(jobInterrupted() ? kExitFailed : kExitOk);
            },
            true};
}

}  // namespace ravo::cli
