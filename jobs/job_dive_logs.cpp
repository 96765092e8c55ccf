#include <algorithm>
#include <cstdint>

#include "jobs/job_bodies.h"
#include "jobs/work_task.h"

namespace ravo {

// Downloads the dives of logBatch one after another, each delivered (and so
// saved) as JOB_DIVE_LOG delivers it, with one progress over the records of
// all of them. A stop ends the dive being read, which is still delivered,
// and the batch; the job's result then says the batch is incomplete.
int jobDiveLogs(WorkTask& task)
{
    const std::vector<CDiveInfo> batch = task.logBatch;
    uint64_t all = 0;
    for (const CDiveInfo& entry : batch)
        all += entry.recordCount;
    task.batchRecordsTotal = uint32_t(std::clamp<uint64_t>(all, 1, UINT32_MAX));
    uint64_t before = 0;
    int done = 0;
    for (size_t i = 0; i < batch.size(); ++i) {
        task.batchRecordsBefore = uint32_t(std::min<uint64_t>(before, UINT32_MAX));
        task.logIndex = batch[i].index;
        task.line("Read dive %d of %d", int(i + 1), int(batch.size()));
        // Done means delivered whole: a stopped or broken dive is not.
        if (jobDiveLog(task) == 1 && task.logData.samples.size() >= task.logData.info.recordCount)
            ++done;
        before += batch[i].recordCount;
        if (task.stopRequested)
            break;
    }
    task.batchRecordsBefore = 0;
    task.batchRecordsTotal = 0;
    task.progressPercent = 0;
    task.send(UM_PROGRESS, 0);
    task.line("Read %d of %d dives ... done", done, int(batch.size()));
    return done == int(batch.size()) ? 1 : kJobLogIncomplete;
}

}  // namespace ravo
