#include <algorithm>
#include <cstdio>

#include "cli/commands.h"
#include "cli/json_output.h"
#include "cli/log_saving_printer.h"
#include "cli/unit_check.h"
#include "divedata/download_plan.h"
#include "divedata/log_list_rows.h"
#include "jobs/log_directory_text.h"
#include "firmware/file_util.h"

namespace ravo::cli {
namespace {

// Names the entries the unit did not give on standard error; true when
// there were any, and the command then fails.
bool reportUnread(const LogDirectory& directory)
{
    if (directory.complete())
        return false;
    const std::string text = DirectoryGapText(directory);
    std::fprintf(stderr, "%s\n", text.c_str());
    return true;
}

// Downloads every listed dive whose files are not in the dive folder yet,
// under one bar by records; then names the entries that could not be read.
int downloadNewDives(CliContext& context, const LogDirectory& read)
{
    const std::vector<CDiveInfo>& directory = read.entries;
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
        document["unread"] = read.unread;
        printJson(document);
    }
    if (jobInterrupted()) {
        // What became of the dive being read was said above ("Dive 3 is
        // incomplete: ..."); this only ends the run.
        std::fprintf(stderr, "Stopped before every new dive was read.\n");
        reportUnread(read);
        return kExitFailed;
    }
    if (!context.output.quiet)
        std::fprintf(stderr, "%zu new dive(s), %zu already saved\n", wanted.size(), valid - wanted.size());
    // Never "all saved" while the unit holds dives that were not listed.
    const bool unread = reportUnread(read);
    return failures || unread ? kExitFailed : kExitOk;
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
                const LogDirectory& read = printer.directory;
                const std::vector<CDiveInfo>& directory = read.entries;
                // An entry not read, the read stopped, or the unit stopped
                // answering: the list is not whole.
                const bool whole = outcome.code() == 1 && read.complete();
                // The job reads a count that did not come as no dives at all:
                // an empty list must come from a unit that answers.
                if (directory.empty()) {
                    if (!connectAndCheckUnit(context))
                        return int(kExitFailed);
                    closeKeptLink(context);
                }
                if (*onlyNew) {
                    if (jobInterrupted()) {
                        std::fprintf(stderr, "Stopped while the dive directory was read; nothing was downloaded.\n");
                        reportUnread(read);
                        return int(kExitFailed);
                    }
                    // The dives that were listed are downloaded all the same.
                    return downloadNewDives(context, read);
                }
                printDirectoryRows(context, read);
                reportUnread(read);
                return int(whole ? kExitOk : kExitFailed);
            },
            true};
}

}  // namespace ravo::cli
