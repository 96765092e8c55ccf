#include "divedata/log_handover.h"

#include "divedata/saved_logs.h"

namespace ravo {

int HandleLogDownloaded(CDiveLog& log, LogHandover& handover, FileMessages* messages,
                        std::vector<std::string>* savedPaths)
{
    std::string unusedRedboxFolder;
    std::string& redboxFolder = handover.redboxFolder ? *handover.redboxFolder : unusedRedboxFolder;
    int result = log.saveToFile(handover.diveFolder, log.isDive, redboxFolder,
                                handover.chooseRedboxPath, messages, savedPaths);
    if (handover.savedDiveNames)
        ListSavedDiveLogs(handover.diveFolder, *handover.savedDiveNames);
    return result;
}

std::string IncompleteLogText(const std::string& kind, int index, int saveResult)
{
    const char* fate = saveResult == kLogKeptSaved ? "the log saved before was kept"
                       : saveResult == kLogSaved   ? "saved, marked partial"
                                                   : "not saved";
    return kind + " " + std::to_string(index) + " is incomplete: " + fate + ".";
}

}  // namespace ravo
