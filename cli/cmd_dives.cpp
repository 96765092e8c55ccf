#include <algorithm>
#include <cstdio>

#include "cli/commands.h"
#include "cli/json_output.h"
#include "cli/log_saving_printer.h"
#include "cli/unit_check.h"
#include "divedata/download_plan.h"
#include "firmware/file_util.h"

namespace ravo::cli {
namespace {

// Downloads every listed dive whose files are not in the dive folder yet,
// under one bar by records.
int downloadNewDives(CliContext& context, const std::vector<CDiveInfo>& directory)
{
    const std::vector<CDiveInfo> wanted = DivesToDownload(directory, context.app.config.diveFolder);
    uint64_t totalRecords = 0;
    for (const CDiveInfo& entry : wanted)
        totalRecords += entry.recordCount;
    LogSavingPrinter printer(context);
    int failures = 0;
    uint64_t doneRecords = 0;
    std::vector<std::string> saved;
    for (size_t i = 0; i < wanted.size(); ++i) {
        printer.setBatch(doneRecords, totalRecords);
        const JobOutcome outcome = runLogJob(context, LogKind::Dive, wanted[i].index, printer);
        if (!outcome.connected() || !printer.delivered || printer.entryMissing ||
            reportIncompleteLog(outcome, printer, "Dive", wanted[i].index) || printer.saveResult != kLogSaved)
            ++failures;
        doneRecords += wanted[i].recordCount;
        if (printer.saveResult == kLogSaved && outcome.code() != kJobLogIncomplete) {
            for (const std::string& path : printer.savedPaths) {
                if (context.output.json) {
                    saved.push_back(absolutePath(path));
                } else {
                    std::fputs((absolutePath(path) + "\n").c_str(), stdout);
                    std::fflush(stdout);
                }
            }
        }
        if (jobInterrupted())
            break;
    }
    printer.endBar();
    size_t valid = size_t(std::count_if(directory.begin(), directory.end(),
                                        [](const CDiveInfo& e) { return e.valid != 0; }));
    if (context.output.json) {
        Json document = Json::object();
        putNames(document, "files", saved);
        document["newDives"] = wanted.size();
        document["alreadySaved"] = valid - wanted.size();
        printJson(document);
    }
    if (jobInterrupted()) {
        // What became of the dive being read was said above ("Dive 3 is
        // incomplete: ..."); this only ends the run.
        std::fprintf(stderr, "Stopped before every new dive was read.\n");
        return kExitFailed;
    }
    if (!context.output.quiet)
        std::fprintf(stderr, "%zu new dive(s), %zu already saved\n", wanted.size(), valid - wanted.size());
    return failures ? kExitFailed : kExitOk;
}

}  // namespace

CliCommand divesCommand()
{
    auto onlyNew = std::make_shared<bool>(false);
    return {"dives", "Read the unit's dive log directory: one row per dive, \"INDEX<TAB>UTC<TAB>Size\".",
            [onlyNew](CLI::App& sub) {
                sub.add_flag("--new", *onlyNew,
                             "Download and save every dive not saved in the dive folder yet; prints the full path "
                             "of every file saved");
            },
            [onlyNew](CliContext& context) {
                StatusPrinter printer(context.output);
                const JobOutcome outcome = runJob(
                    context,
                    DirectoryRequest{context.app.config.currentUnitNumber(), LogKind::Dive,
                                     context.app.worker->keepLinkOpen()},
                    &printer);
                if (!outcome.connected())
                    return int(kExitFailed);
                const std::vector<CDiveInfo> directory = printer.directory.entries;
                // Stopped, or the unit stopped answering: the list is not whole.
                const bool whole = outcome.code() == 1;
                // The job reads a count that did not come as no dives at all:
                // an empty list must come from a unit that answers.
                if (directory.empty()) {
                    if (!connectAndCheckUnit(context))
                        return int(kExitFailed);
                    closeKeptLink(context);
                }
                if (*onlyNew)
                    return whole ? downloadNewDives(context, directory) : int(kExitFailed);
                printDirectoryRows(context, directory);
                return int(whole ? kExitOk : kExitFailed);
            },
            true};
}

}  // namespace ravo::cli
