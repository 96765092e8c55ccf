#include <algorithm>
#include <cstdint>

#include "jobs/job_bodies.h"
#include "jobs/log_jobs_p.h"

namespace ravo {
namespace {

// The dives of `entries` one after another, each delivered (and so saved) as
// a single dive is, with one progress over the records of all of them. A
// stop ends the dive being read, which is still delivered, and the batch.
LogsResult downloadDiveBatch(JobContext& job, const std::vector<CDiveInfo>& entries)
{
    LogsResult result;
    result.requested = int(entries.size());
    uint64_t all = 0;
    for (const CDiveInfo& entry : entries)
        all += entry.recordCount;
    job.batchTotal = std::max<uint64_t>(all, 1);
    uint64_t before = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        job.batchBefore = before;
        job.line("Read dive %d of %d", int(i + 1), int(entries.size()));
        // Whole means delivered with every record.
        if (detail::downloadDiveLog(job, entries[i].index) == 1)
            ++result.whole;
        before += entries[i].recordCount;
        if (job.stopRequested())
            break;
    }
    job.batchBefore = 0;
    job.batchTotal = 0;
    job.line("Read %d of %d dives ... done", result.whole, int(entries.size()));
    result.code = result.whole == result.requested ? 1 : kJobLogIncomplete;
    return result;
}

}  // namespace

LogsResult runJob(JobContext& job, const LogsRequest& request)
{
    if (request.kind == LogKind::Dive && request.entries.size() > 1)
        return downloadDiveBatch(job, request.entries);
    LogsResult result;
    result.requested = int(request.entries.size());
    result.code = 0;
    for (const CDiveInfo& entry : request.entries) {
        const int code = request.kind == LogKind::Dive ? detail::downloadDiveLog(job, entry.index)
                                                       : detail::downloadRedboxLog(job, entry.index);
        if (code == 1)
            ++result.whole;
        // One log: its own result; more: every one whole, else incomplete.
        result.code = request.entries.size() == 1 ? code : (result.whole == result.requested ? 1 : kJobLogIncomplete);
        if (job.stopRequested())
            break;
    }
    return result;
}

}  // namespace ravo
