#include <algorithm>
#include <cstdio>

#include "cli/commands.h"
#include "cli/log_saving_printer.h"

namespace ravo::cli {
namespace {

bool isSaved(const std::vector<std::string>& names, const std::string& base)
{
    return std::find(names.begin(), names.end(), base) != names.end();
}

// The printer's own progress bar on standard error, by dives done.
void drawBar(LogSavingPrinter& printer, size_t done, size_t total)
{
    printer.sendMessage(UM_PROGRESS, total ? done * 100 / total : 100, 0);
}

// Downloads every listed dive whose files are not in the dive folder yet.
int downloadNewDives(CliContext& context)
{
    WorkTask& worker = *context.app.worker;
    std::vector<CDiveInfo> wanted;
    for (const CDiveInfo& entry : worker.diveDirectory) {
        CDiveLog named;
        named.info = entry;
        if (entry.valid && !isSaved(context.app.savedDiveNames, named.makeFileName(true)))
            wanted.push_back(entry);
    }
    LogSavingPrinter printer(context.app);
    int failures = 0;
    drawBar(printer, 0, wanted.size());
    for (size_t i = 0; i < wanted.size(); ++i) {
        worker.logIndex = wanted[i].index;
        if (runLogJob(context, JOB_DIVE_LOG, printer) != 0 || !printer.delivered || printer.entryMissing ||
            printer.saveResult != kLogSaved)
            ++failures;
        if (!printer.savedBaseName.empty() && printer.saveResult == kLogSaved) {
            std::fputs((printer.savedBaseName + "\n").c_str(), stdout);
            std::fflush(stdout);
        }
        drawBar(printer, i + 1, wanted.size());
        if (jobInterrupted())
            break;
    }
    std::fputc('\n', stderr);
    if (jobInterrupted()) {
        std::fprintf(stderr, "Stopped: the dive being read was saved as far as it arrived.\n");
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
