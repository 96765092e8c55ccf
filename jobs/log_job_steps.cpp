#include <algorithm>
#include <vector>

#include "jobs/log_jobs_p.h"
#include "jobs/work_task.h"

namespace ravo::detail {

void readDirectoryEntry(WorkTask& task, UnitCommand infoCommand, uint16_t index, CDiveInfo& entry)
{
    entry.clear();
    LogDirectoryEntry reply;
    if (task.link.ReadLogEntry(infoCommand, index, reply) != 1)
        return;
    entry.valid = 1;
    entry.unitNumber = task.unitNumber;
    entry.index = index;
    entry.startTime = reply.startTime;
    entry.recordCount = reply.recordCount;
    entry.auxWord = reply.auxWord;
}

int readDirectory(WorkTask& task, UnitCommand countCommand, UnitCommand infoCommand,
                  std::vector<CDiveInfo>& directory, bool redbox)
{
    uint16_t count = 0;
    if (task.link.ReadLogCount(countCommand, count) != 1)
        count = 0;
    directory.assign(count, CDiveInfo{});
    int unanswered = 0;
    for (int i = 0; i < count; ++i) {
        if (redbox)
            task.line("Read redbox info %d of %d", i, count - 1);
        else
            task.line("Read divelog info %d (%d)", i, int(count));
        readDirectoryEntry(task, infoCommand, uint16_t(i), directory[size_t(i)]);
        // Each unanswered entry costs its full reply wait: a unit that went
        // away would otherwise hold the worker for up to 65,535 of them.
        unanswered = directory[size_t(i)].valid ? 0 : unanswered + 1;
        if (unanswered >= kDirectoryMissesMax) {
            task.line("Read %s info stopped: %d entries in a row did not answer", redbox ? "redbox" : "divelog",
                      unanswered);
            return 0;
        }
        if (task.stopCheck())
            return 0;
    }
    return 1;
}

// Records read so far, for a bar by records and a rate: the counts in the
// worker's fields, the percent with UM_PROGRESS (never 0 while running, since
// 0 ends a bar).
static void reportRecordProgress(WorkTask& task, uint32_t records, uint32_t total)
{
    if (task.batchRecordsTotal) {
        records += task.batchRecordsBefore;
        total = task.batchRecordsTotal;
        task.progressTotal = total;
    }
    task.progressRecords = records;
    int percent = total ? int(uint64_t(records) * 100 / total) : 100;
    percent = std::clamp(percent, 1, 100);
    task.progressPercent = percent;
    task.send(UM_PROGRESS, uintptr_t(percent));
}

bool downloadLogBody(WorkTask& task, UnitCommand dataCommand, uint16_t index, const char* progressFormat,
                     const char* failFormat, CDiveLog& log)
{
    const uint32_t total = log.info.recordCount * 4;
    if (total == 0)
        return true;
    std::vector<uint8_t> buffer(total);
    uint32_t read = 0;
    task.progressTotal = total / 4;
    for (;;) {
        reportRecordProgress(task, read / 4, total / 4);
        task.line(progressFormat, int(index), int(read / 4), int(total / 4));
        int wanted = int(std::min<uint32_t>(irda_cmd::kMaxDataBlock, total - read));
        int got = 0;
        if (task.link.ReadDataBlock(dataCommand, read / 4, buffer.data() + read, wanted, got) != 1) {
            // Five failed attempts: the link is gone or the unit stopped
            // answering. Say so, and deliver what arrived.
            task.line(failFormat, int(index), int(read / 4), int(total / 4));
            break;
        }
        read += uint32_t(std::clamp(got, 0, wanted));
        if (task.stopCheck())
            break;
        if (read >= total)
            break;
    }
    reportRecordProgress(task, read / 4, total / 4);
    // 0 ends the bar, as after a firmware download; a batch ends it itself.
    if (!task.batchRecordsTotal) {
        task.progressPercent = 0;
        task.send(UM_PROGRESS, 0);
    }
    AppendSamples(buffer.data(), read, log.samples);
    return read >= total;
}

uint32_t unitFirmwareVersionOf(WorkTask& task)
{
    return task.versions.firmwareVersion();
}

int redboxHandshake(WorkTask& task)
{
    if (unitFirmwareVersionOf(task) == 0) {
        // No versions read since the link was connected (a job started on its
        // own, as the command line does): the handshake and the opcode map
        // depend on them, so read them now.
        uint8_t bytes[15] = {};
        int count = 0;
        if (task.link.ReadVersions(bytes, count) == 1)
            task.versions = decodeUnitVersions(bytes, count);
    }
    return task.link.Handshake(unitFirmwareVersionOf(task));
}

}  // namespace ravo::detail
