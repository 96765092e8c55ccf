#include <algorithm>
#include <cstdio>

#include "cli/commands.h"
#include "cli/log_saving_printer.h"
#include "divedata/download_plan.h"

namespace ravo::cli {
namespace {

// The printer's own progress bar on standard error, by dives done.
void drawBar(LogSavingPrinter& printer, size_t done, size_t total)
{
    printer.sendMessage(UM_PROGRESS, total ? done * 100 / total : 100, 0);
}

// Downloads every listed dive whose files are not in the dive folder yet.
int downloadNewDives(CliContext& context)
{
    WorkTask& worker = *context.app.worker;
    const std::vector<CDiveInfo> wanted = DivesToDownload(worker.diveDirectory, context.app.config.diveFolder);
    LogSavingPrinter printer(context.app);
    int failures = 0;
    drawBar(printer, 0, wanted.size());
    for (size_t i = 0; i < wanted.size(); ++i) {
        worker.logIndex = wanted[i].index;
        if (runLogJob(context, JOB_DIVE_LOG, printer) != 0 || !printer.delivered || printer.entryMissing ||
            reportIncompleteLog(context, printer, "Dive", wanted[i].index) || printer.saveResult != kLogSaved)
            ++failures;
        if (!printer.savedBaseName.empty() && printer.saveResult == kLogSaved &&
            worker.jobResult != kJobLogIncomplete) {
            std::fputs((printer.savedBaseName + "\n").c_str(), stdout);
            std::fflush(stdout);
        }
        drawBar(printer, i + 1, wanted.size());
        if (jobInterrupted())
            break;
    }
    std::fputc('\n', stderr);
    if (jobInterrupted()) {
        std::fprintf(stderr, "Stopped: the dive being read was saved as far as it arrived, marked partial.\n");
        return kExitFailed;
    }
    std::fprintf(stderr, "%zu new dive(s), %zu already saved\n", wanted.size(),
                 size_t(std::count_if(worker.diveDirectory.begin(), worker.diveDirectory.end(),
                                      [](const CDiveInfo& e) { return e.valid != 0; })) -
                     wanted.size());
    return failures ? kExitFailed : kExitOk;
}

}  // namespace

CliCommand divesCommand()
{
    auto onlyNew = std::make_shared<bool>(false);
    return {"dives", "Read the unit's dive log directory: one row per dive, \"INDEX<TAB>UTC<TAB>Size\".",
            [onlyNew](CLI::App& sub) {
                sub.add_flag("--new", *onlyNew, "Download and save every dive not saved in the dive folder yet");
            },
            [onlyNew](CliContext& context) {
                WorkTask& worker = *context.app.worker;
                worker.unitNumber = context.app.config.currentUnitNumber();
                worker.diveDirectory.clear();
                if (runJob(context, JOB_DIVE_DIRECTORY) != 0)
                    return int(kExitFailed);
                if (*onlyNew)
                    return downloadNewDives(context);
                printDirectoryRows(worker.diveDirectory);
                return int(kExitOk);
            }};
}

}  // namespace ravo::cli
