#include "app/unit_log_view_state.h"

#include "jobs/work_task.h"
#include "link/c_format.h"

namespace ravo {

UnitLogViewState unitLogViewState(const WorkTask& worker, bool redbox)
{
    UnitLogViewState state;
    const bool busy = worker.busy;
    state.idle = !busy;
    const int job = worker.jobCode;
    const bool ownDownload = redbox ? job == JOB_REDBOX_LOG : (job == JOB_DIVE_LOG || job == JOB_DIVE_LOGS);
    if (!busy) {
        if (ownDownload && worker.jobResult == kJobLogIncomplete)
            state.lastResult = redbox ? "The last download ended early: the log was saved incomplete"
                                      : "The last download ended early: its dive is marked incomplete";
        return state;
    }
    state.directoryBeingRead = job == (redbox ? JOB_REDBOX_DIRECTORY : JOB_DIVE_DIRECTORY);
    state.downloading = ownDownload;
    if (state.downloading) {
        state.records = worker.progressRecords;
        state.total = worker.progressTotal;
        if (state.records > state.total)
            state.records = state.total;
        char text[64];
        formatC(text, sizeof text, "Records %u of %u", unsigned(state.records), unsigned(state.total));
        state.progressText = text;
    }
    return state;
}

bool prepareDiveBatch(WorkTask& worker, const std::vector<CDiveInfo>& entries, std::string& status)
{
    if (entries.empty())
        return false;
    worker.unitNumber = entries.front().unitNumber;
    worker.logBatch = entries;
    worker.logIndex = entries.front().index;
    char text[128];
    formatC(text, sizeof text, "Read %d dives from unit %04X", int(entries.size()), unsigned(worker.unitNumber));
    status = text;
    return true;
}

}  // namespace ravo
