#pragma once
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "cli/status_printer.h"
#include "divedata/log_handover.h"

namespace ravo::cli {

// The command line's receiver for the log jobs: prints status lines exactly
// as StatusPrinter does and, like the main window, saves a downloaded log
// during the hand-over and lists the saved dive logs again. A redbox log goes
// to `redboxOut`, or to the proposed path when that is empty.
class LogSavingPrinter : public StatusPrinter {
public:
    explicit LogSavingPrinter(CliContext& context, std::string redboxOut = {});

    void logDownloaded(const CDiveLog& log) override;

    // Reset before each job.
    void clearResults();
    bool delivered = false;       // a log was handed over
    bool entryMissing = false;    // ... but the unit did not know its entry: not saved
    int saveResult = kLogSaved;
    std::vector<std::string> savedPaths;
    std::string savedBaseName;    // of a saved dive

private:
    CRavo_ConfigApp& app_;
    std::string redboxOut_;
};

// The download of log `index` of `kind` from the configured unit, with
// `printer` as the receiver, its results cleared first.
JobOutcome runLogJob(CliContext& context, LogKind kind, int index, LogSavingPrinter& printer);

// After a log job that ended as `outcome`: when the log did not arrive
// whole, says so on standard error (and what became of it) and returns true;
// the command then fails.
bool reportIncompleteLog(const JobOutcome& outcome, const LogSavingPrinter& printer, const char* kind, int index);

// Directory rows as "INDEX<TAB>UTC<TAB>Size", or with --json the JSON array.
void printDirectoryRows(const CliContext& context, const std::vector<CDiveInfo>& directory);

// Prints the full path of every file a log was saved in, one a line; says on
// standard error where a log that could not be saved was meant to go.
void printSavedFiles(const CliContext& context, const LogSavingPrinter& printer, const std::string& folder);

}  // namespace ravo::cli
