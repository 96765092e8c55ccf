#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "divedata/dive_info.h"

namespace ravo {

class WorkTask;

// What the unit log list views show besides the rows, from the worker's
// fields: read on the user-interface thread at any time (only atomics and
// the job code are looked at while a job runs).
struct UnitLogViewState {
    bool directoryBeingRead = false;  // the list shows nothing until it is read
    bool downloading = false;         // a log download of this view's kind runs
    bool idle = true;                 // no job runs: requests may be made
    uint32_t records = 0;             // read so far (of the whole batch)
    uint32_t total = 0;
    std::string progressText;         // "Records 300 of 1200" while downloading
    std::string lastResult;           // idle: how the last download of this kind ended, when not whole
};

UnitLogViewState unitLogViewState(const WorkTask& worker, bool redbox);

// Fills the worker's request fields for JOB_DIVE_LOGS: the dives of
// `entries` one after another, for the unit of the first. The status line
// to show goes to `status`. False (nothing written) when `entries` is empty.
bool prepareDiveBatch(WorkTask& worker, const std::vector<CDiveInfo>& entries, std::string& status);

}  // namespace ravo
