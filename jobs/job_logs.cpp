#include "jobs/job_bodies.h"
#include "jobs/log_jobs_p.h"
#include "link/ir_comm.h"

namespace ravo {

using namespace detail;

namespace {

// The last line of a directory read: "done" only when every entry was read.
void directoryEndLine(JobContext& job, const LogDirectory& directory, const char* doneLine, const char* name)
{
    if (directory.complete()) {
        job.line("%s", doneLine);
        return;
    }
    if (!directory.countRead)
        return;  // its line said so
    job.line("Read %s info ... incomplete: %d of %d entries not read", name, int(directory.unread.size()),
             int(directory.entries.size()));
}

}  // namespace

DirectoryResult runJob(JobContext& job, const DirectoryRequest& request)
{
    DirectoryResult result;
    LogDirectory directory;
    directory.kind = request.kind;
    directory.unit = job.unitNumber;
    if (request.kind == LogKind::Dive) {
        result.code = readDirectory(job, UNIT_CMD_GET_DIVE_COUNT, UNIT_CMD_GET_DIVE_INFO, directory);
        job.events.directoryRead(directory);
        directoryEndLine(job, directory, "Read divelog info ... done", "divelog");
        return result;
    }
    if (redboxHandshake(job) != 1) {
        job.line("Read redbox info failed....");
        job.events.directoryRead(directory);
        return result;
    }
    result.code = readDirectory(job, UNIT_CMD_GET_REDBOX_COUNT, UNIT_CMD_GET_REDBOX_INFO, directory);
    job.events.directoryRead(directory);
    directoryEndLine(job, directory, "Read redboxlog info ... done", "redboxlog");
    return result;
}

namespace {

// An entry the unit did not answer for leaves no log to read: its header and
// body requests would only wait out their attempts, and the log delivered
// would be an empty one named after unit time 0.
bool entryMissing(JobContext& job, const CDiveLog& log, const char* kind, uint16_t index)
{
    if (log.info.valid)
        return false;
    job.line("Read %s info %d - failed.", kind, int(index));
    return true;
}

bool tooManyRecords(JobContext& job, const CDiveLog& log, const char* kind, uint16_t index)
{
    if (log.info.recordCount <= kMaxLogRecords)
        return false;
    job.line("Read %s logdata %d - %u records is more than %u, not downloaded", kind, int(index),
             unsigned(log.info.recordCount), unsigned(kMaxLogRecords));
    return true;
}

// The header read, with a line when it did not arrive whole.
bool readHeader(JobContext& job, UnitCommand command, const char* failFormat, uint16_t index, uint8_t* raw)
{
    if (job.link.ReadHeaderBlocks(command, index, raw) == 1)
        return true;
    job.line(failFormat, int(index));
    return false;
}

int deliveredResult(const CDiveLog& log)
{
    return log.partial ? kJobLogIncomplete : 1;
}

}  // namespace

namespace detail {

int downloadDiveLog(JobContext& job, uint16_t k)
{
    CDiveLog log;
    job.line("Read dive info %d", int(k));
    readDirectoryEntry(job, UNIT_CMD_GET_DIVE_INFO, k, log.info);
    if (entryMissing(job, log, "dive", k) || tooManyRecords(job, log, "dive", k))
        return 0;
    job.line("Read dive header %d", int(k));
    const bool headerRead = readHeader(job, UNIT_CMD_GET_DIVE_HEADER, "Read dive header %d - failed.", k, log.header.raw);
    log.header.Parse();
    log.isDive = true;
    job.line("Read dive logdata %d", int(k));
    const bool bodyRead = downloadLogBody(job, UNIT_CMD_GET_DIVE_DATA, k, "Read dive logdata %d - %d (%d)",
                                          "Read dive logdata %d - failed at %d (%d)", log);
    log.partial = !headerRead || !bodyRead;
    job.line("Read dive logdata ... done");
    job.events.logDownloaded(log);
    return deliveredResult(log);
}

int downloadRedboxLog(JobContext& job, uint16_t k)
{
    CDiveLog log;
    job.line("Read redbox info %d", int(k));
    if (redboxHandshake(job) != 1) {
        job.line("Read redbox info %d - failed.", int(k));
        return 0;
    }
    readDirectoryEntry(job, UNIT_CMD_GET_REDBOX_INFO, k, log.info);
    if (entryMissing(job, log, "redbox", k) || tooManyRecords(job, log, "redbox", k))
        return 0;
    job.line("Read dive header %d", int(k));
    const bool headerRead =
        readHeader(job, UNIT_CMD_GET_REDBOX_HEADER, "Read redbox header %d - failed.", k, log.redboxHeader.raw);
    log.redboxHeader.Parse();
    log.isDive = false;
    job.line("Read redbox logdata %d", int(k));
    const bool bodyRead = downloadLogBody(job, UNIT_CMD_GET_REDBOX_DATA, k, "Read redbox logdata %d - %d (%d)",
                                          "Read redbox logdata %d - failed at %d (%d)", log);
    log.partial = !headerRead || !bodyRead;
    job.line("Read redbox logdata ... done");
    job.events.logDownloaded(log);
    return deliveredResult(log);
}

}  // namespace detail
}  // namespace ravo
