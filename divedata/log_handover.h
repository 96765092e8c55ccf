#pragma once
#include <string>
#include <vector>

#include "divedata/dive_log.h"
#include "divedata/file_messages.h"

namespace ravo {

// What the main window keeps for the hand-over of a downloaded log.
struct LogHandover {
    std::string diveFolder;
    std::string* redboxFolder = nullptr;        // updated by a redbox save; may be null
    RedboxPathChooser chooseRedboxPath;         // the Save dialog; empty cancels
    std::vector<std::string>* savedDiveNames = nullptr;  // re-listed afterwards; may be null
};

// The hand-over of a downloaded log: saves `log` (a dive to the dive folder,
// a redbox log where the chooser says), then lists the saved dive logs again.
// Returns the save result (LogSaveResult); failures are in `messages`, the
// files written in `savedPaths`.
int HandleLogDownloaded(CDiveLog& log, LogHandover& handover, FileMessages* messages = nullptr,
                        std::vector<std::string>* savedPaths = nullptr);

// What became of a log that did not arrive whole, for the user: "Dive 3 is
// incomplete: saved, marked partial." `kind` is "Dive" or "Redbox log",
// `saveResult` the LogSaveResult of its hand-over.
std::string IncompleteLogText(const std::string& kind, int index, int saveResult);

}  // namespace ravo
