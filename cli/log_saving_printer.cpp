#include "cli/log_saving_printer.h"

#include <cstdio>

#include "cli/json_output.h"
#include "divedata/log_list_rows.h"
#include "firmware/file_util.h"

namespace ravo::cli {
LogSavingPrinter::LogSavingPrinter(CliContext& context, std::string redboxOut)
    : StatusPrinter(context.output), app_(context.app), redboxOut_(std::move(redboxOut))
{
}

void LogSavingPrinter::clearResults()
{
    delivered = false;
    entryMissing = false;
    saveResult = kLogSaved;
    savedPaths.clear();
    savedBaseName.clear();
}

void LogSavingPrinter::logDownloaded(const CDiveLog& downloaded)
{
    delivered = true;
    if (!downloaded.info.valid) {
        // The unit did not answer for this entry: there is no log to keep,
        // only an empty one that would be named after unit time 0.
        entryMissing = true;
        return;
    }
    CDiveLog log = downloaded;
    LogHandover handover;
    handover.diveFolder = app_.config.diveFolder;
    handover.redboxFolder = &app_.config.redboxFolder;
    handover.savedDiveNames = &app_.savedDiveNames;
    handover.chooseRedboxPath = [this](const std::string& proposed, std::string& chosen) {
        chosen = redboxOut_.empty() ? proposed : redboxOut_;
        return true;
    };
    FileMessages messages;
    saveResult = HandleLogDownloaded(log, handover, &messages, &savedPaths);
    for (const std::string& text : messages)
        std::fprintf(stderr, "%s\n", text.c_str());
    if (log.isDive)
        savedBaseName = log.makeFileName(true);
}

JobOutcome runLogJob(CliContext& context, LogKind kind, int index, LogSavingPrinter& printer)
{
    printer.clearResults();
    CDiveInfo entry;
    entry.unitNumber = context.app.config.currentUnitNumber();
    entry.index = uint16_t(index);
    return runJob(context, LogsRequest{uint16_t(entry.unitNumber), kind, {entry}}, &printer);
}

bool reportIncompleteLog(const JobOutcome& outcome, const LogSavingPrinter& printer, const char* kind, int index)
{
    if (outcome.code() != kJobLogIncomplete)
        return false;
    std::fprintf(stderr, "%s\n", IncompleteLogText(kind, index, printer.saveResult).c_str());
    return true;
}

void printDirectoryRows(const CliContext& context, const std::vector<CDiveInfo>& directory)
{
    if (context.output.json) {
        printJson(directoryJson(directory));
        return;
    }
    UnitLogListRows rows;
    rows.Fill(directory);
    for (int r = 0; r < rows.rowCount(); ++r)
        std::fputs((std::to_string(rows.entryForRow(r)->index) + "\t" + rows.cellText(r, 0) + "\t" +
                    rows.cellText(r, 1) + "\n")
                       .c_str(),
                   stdout);
    std::fflush(stdout);
}

}  // namespace ravo::cli

namespace ravo::cli {

void printSavedFiles(const CliContext& context, const LogSavingPrinter& printer, const std::string& folder)
{
    if (printer.saveResult == kLogSaveFailed)
        std::fprintf(stderr, "The log could not be saved in %s\n", absolutePath(folder).c_str());
    if (context.output.json) {
        std::vector<std::string> files;
        for (const std::string& path : printer.savedPaths)
            files.push_back(absolutePath(path));
        Json document = Json::object();
        putNames(document, "files", files);
        printJson(document);
        return;
    }
    for (const std::string& path : printer.savedPaths)
        std::fputs((absolutePath(path) + "\n").c_str(), stdout);
    std::fflush(stdout);
}

}  // namespace ravo::cli
