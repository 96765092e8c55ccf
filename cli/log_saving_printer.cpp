#include "cli/log_saving_printer.h"

#include <cstdio>

#include "cli/json_output.h"
#include "divedata/log_list_rows.h"
#include "firmware/file_util.h"

namespace ravo::cli {
LogSavingPrinter::LogSavingPrinter(CliContext& context, std::string redboxOut)
    : StatusPrinter(context.output, *context.app.worker), app_(context.app), redboxOut_(std::move(redboxOut))
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

intptr_t LogSavingPrinter::sendMessage(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    if ((message != UM_DIVE_DOWNLOADED && message != UM_REDBOX_DOWNLOADED) || !lParam)
        return StatusPrinter::sendMessage(message, wParam, lParam);

    CDiveLog& log = *reinterpret_cast<CDiveLog*>(lParam);
    delivered = true;
    if (!log.info.valid) {
        // The unit did not answer for this entry: there is no log to keep,
        // only an empty one that would be named after unit time 0.
        entryMissing = true;
        return 1;
    }
    LogHandover handover;
    handover.diveFolder = app_.config.diveFolder;
    handover.redboxFolder = &app_.config.redboxFolder;
    handover.savedDiveNames = &app_.savedDiveNames;
    handover.chooseRedboxPath = [this](const std::string& proposed, std::string& chosen) {
        chosen = redboxOut_.empty() ? proposed : redboxOut_;
        return true;
    };
    FileMessages messages;
    saveResult = HandleLogDownloaded(message, log, handover, &messages, &savedPaths);
    for (const std::string& text : messages)
        std::fprintf(stderr, "%s\n", text.c_str());
    if (message == UM_DIVE_DOWNLOADED)
        savedBaseName = log.makeFileName(true);
    return 1;
}

int runLogJob(CliContext& context, int jobCode, LogSavingPrinter& printer)
{
    printer.clearResults();
    return runJob(context, jobCode, &printer);
}

bool reportIncompleteLog(CliContext& context, const LogSavingPrinter& printer, const char* kind, int index)
{
    if (context.app.worker->jobResult != kJobLogIncomplete)
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
