#include "divedata/log_handover.h"

#include "divedata/saved_logs.h"
#include "link/messages.h"

namespace ravo {

int HandleLogDownloaded(unsigned message, CDiveLog& log, LogHandover& handover, FileMessages* messages,
                        std::vector<std::string>* savedPaths)
{
    if (message != UM_DIVE_DOWNLOADED && message != UM_REDBOX_DOWNLOADED)
        return 0;
    std::string unusedRedboxFolder;
    std::string& redboxFolder = handover.redboxFolder ? *handover.redboxFolder : unusedRedboxFolder;
    int result = log.saveToFile(handover.diveFolder, message == UM_DIVE_DOWNLOADED, redboxFolder,
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
