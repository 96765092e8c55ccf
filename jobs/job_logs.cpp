#include "jobs/job_bodies.h"
#include "jobs/log_jobs_p.h"
#include "jobs/work_task.h"

namespace ravo {

using namespace detail;

int jobDiveDirectory(WorkTask& task)
{
    int result = readDirectory(task, UNIT_CMD_GET_DIVE_COUNT, UNIT_CMD_GET_DIVE_INFO, task.diveDirectory, false);
    task.line("Read divelog info ... done");
    return result;
}

int jobRedboxDirectory(WorkTask& task)
{
    if (redboxHandshake(task) != 1) {
        task.line("Read redbox info failed....");
        return 0;
    }
    int result = readDirectory(task, UNIT_CMD_GET_REDBOX_COUNT, UNIT_CMD_GET_REDBOX_INFO, task.redboxDirectory, true);
    task.line("Read redboxlog info ... done");
    return result;
}

namespace {

// An entry the unit did not answer for leaves no log to read: its header and
// body requests would only wait out their attempts, and the log delivered
// would be an empty one named after unit time 0.
bool entryMissing(WorkTask& task, const char* kind, uint16_t index)
{
    if (task.logData.info.valid)
        return false;
    task.line("Read %s info %d - failed.", kind, int(index));
    return true;
}

bool tooManyRecords(WorkTask& task, const char* kind, uint16_t index)
{
    if (task.logData.info.recordCount <= kMaxLogRecords)
        return false;
    task.line("Read %s logdata %d - %u records is more than %u, not downloaded", kind, int(index),
              unsigned(task.logData.info.recordCount), unsigned(kMaxLogRecords));
    return true;
}

// The header read, with a line when it did not arrive whole.
bool readHeader(WorkTask& task, UnitCommand command, const char* failFormat, uint16_t index, uint8_t* raw)
{
    if (task.link.ReadHeaderBlocks(command, index, raw) == 1)
        return true;
    task.line(failFormat, int(index));
    return false;
}

int deliveredResult(const CDiveLog& log)
{
    return log.partial ? kJobLogIncomplete : 1;
}

}  // namespace

int jobDiveLog(WorkTask& task)
{
    const uint16_t k = task.logIndex;
    CDiveLog& log = task.logData;
    log.clear();
    task.line("Read dive info %d", int(k));
    readDirectoryEntry(task, UNIT_CMD_GET_DIVE_INFO, k, log.info);
    if (entryMissing(task, "dive", k) || tooManyRecords(task, "dive", k))
        return 0;
    task.line("Read dive header %d", int(k));
    const bool headerRead =
        readHeader(task, UNIT_CMD_GET_DIVE_HEADER, "Read dive header %d - failed.", k, log.header.raw);
    log.header.Parse();
    log.isDive = true;
    task.line("Read dive logdata %d", int(k));
    const bool bodyRead = downloadLogBody(task, UNIT_CMD_GET_DIVE_DATA, k, "Read dive logdata %d - %d (%d)",
                                          "Read dive logdata %d - failed at %d (%d)", log);
    log.partial = !headerRead || !bodyRead;
    task.line("Read dive logdata ... done");
    task.send(UM_DIVE_DOWNLOADED, 0, reinterpret_cast<intptr_t>(&log));
    return deliveredResult(log);
}

int jobRedboxLog(WorkTask& task)
{
    const uint16_t k = task.logIndex;
    CDiveLog& log = task.logData;
    log.clear();
    task.line("Read redbox info %d", int(k));
    if (redboxHandshake(task) != 1) {
        task.line("Read redbox info %d - failed.", int(k));
        return 0;
    }
    readDirectoryEntry(task, UNIT_CMD_GET_REDBOX_INFO, k, log.info);
    if (entryMissing(task, "redbox", k) || tooManyRecords(task, "redbox", k))
        return 0;
    task.line("Read dive header %d", int(k));
    const bool headerRead =
        readHeader(task, UNIT_CMD_GET_REDBOX_HEADER, "Read redbox header %d - failed.", k, log.redboxHeader.raw);
    log.redboxHeader.Parse();
    log.isDive = false;
    task.line("Read redbox logdata %d", int(k));
    const bool bodyRead = downloadLogBody(task, UNIT_CMD_GET_REDBOX_DATA, k, "Read redbox logdata %d - %d (%d)",
                                          "Read redbox logdata %d - failed at %d (%d)", log);
    log.partial = !headerRead || !bodyRead;
    task.line("Read redbox logdata ... done");
    task.send(UM_REDBOX_DOWNLOADED, 0, reinterpret_cast<intptr_t>(&log));
    return deliveredResult(log);
}

}  // namespace ravo
