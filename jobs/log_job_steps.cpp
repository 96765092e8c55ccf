#include <algorithm>
#include <vector>

#include "jobs/job_context.h"
#include "jobs/log_jobs_p.h"
#include "link/ir_comm.h"

namespace ravo::detail {

bool readDirectoryEntry(JobContext& job, UnitCommand infoCommand, uint16_t index, CDiveInfo& entry)
{
    entry.clear();
    LogDirectoryEntry reply;
    int attempt = 0;
    while (job.link.ReadLogEntry(infoCommand, index, reply) != 1) {
        if (++attempt >= kEntryAttempts)
            return false;
    }
    entry.valid = 1;
    entry.unitNumber = job.unitNumber;
    entry.index = index;
    entry.startTime = reply.startTime;
    entry.recordCount = reply.recordCount;
    entry.auxWord = reply.auxWord;
    return true;
}

namespace {

void nameUnread(LogDirectory& directory)
{
    directory.unread.clear();
    for (size_t i = 0; i < directory.entries.size(); ++i)
        if (!directory.entries[i].valid)
            directory.unread.push_back(uint16_t(i));
}

}  // namespace

int readDirectory(JobContext& job, UnitCommand countCommand, UnitCommand infoCommand, LogDirectory& directory)
{
    const bool redbox = directory.kind == LogKind::Redbox;
    directory.unit = job.unitNumber;
    // The count is asked again like an entry: one lost reply must not make
    // a unit full of logs look empty.
    uint16_t count = 0;
    int countTries = 0;
    while (job.link.ReadLogCount(countCommand, count) != 1) {
        count = 0;
        if (++countTries >= kEntryAttempts || job.stopCheck()) {
            job.line("Read %s count - failed", redbox ? "redbox" : "divelog");
            directory.countRead = false;
            directory.entries.clear();
            directory.unread.clear();
            return 0;
        }
    }
    directory.entries.assign(count, CDiveInfo{});
    int unanswered = 0;
    int result = 1;
    for (int i = 0; i < count; ++i) {
        if (redbox)
            job.line("Read redbox info %d of %d", i, count - 1);
        else
            job.line("Read divelog info %d (%d)", i, int(count));
        const bool read = readDirectoryEntry(job, infoCommand, uint16_t(i), directory.entries[size_t(i)]);
        if (!read) {
            job.line("Read %s info %d - failed", redbox ? "redbox" : "divelog", i);
            result = 0;
        }
        // Each unanswered entry costs its reply waits: a unit that went away
        // would otherwise hold the worker for up to 65,535 of them.
        unanswered = read ? 0 : unanswered + 1;
        if (unanswered >= kDirectoryMissesMax) {
            job.line("Read %s info stopped: %d entries in a row did not answer", redbox ? "redbox" : "divelog",
                     unanswered);
            result = 0;
            break;
        }
        if (job.stopCheck()) {
            result = 0;
            break;
        }
    }
    nameUnread(directory);
    return result;
}

bool downloadLogBody(JobContext& job, UnitCommand dataCommand, uint16_t index, const char* progressFormat,
                     const char* failFormat, CDiveLog& log)
{
    const uint32_t total = log.info.recordCount * 4;
    if (total == 0)
        return true;
    std::vector<uint8_t> buffer(total);
    uint32_t read = 0;
    for (;;) {
        job.logProgress(read / 4, total / 4);
        job.line(progressFormat, int(index), int(read / 4), int(total / 4));
        int wanted = int(std::min<uint32_t>(irda_cmd::kMaxDataBlock, total - read));
        int got = 0;
        if (job.link.ReadDataBlock(dataCommand, read / 4, buffer.data() + read, wanted, got) != 1) {
            // Five failed attempts: the link is gone or the unit stopped
            // answering. Say so, and deliver what arrived.
            job.line(failFormat, int(index), int(read / 4), int(total / 4));
            break;
        }
        read += uint32_t(std::clamp(got, 0, wanted));
        if (job.stopCheck())
            break;
        if (read >= total)
            break;
    }
    job.logProgress(read / 4, total / 4);
    AppendSamples(buffer.data(), read, log.samples);
    return read >= total;
}

int redboxHandshake(JobContext& job)
{
    if (job.versions.firmwareVersion() == 0) {
        // No versions read since the link was connected (a job started on its
        // own, as the command line does): the handshake and the opcode map
        // depend on them, so read them now.
        uint8_t bytes[15] = {};
        int count = 0;
        if (job.link.ReadVersions(bytes, count) == 1)
            job.versions = decodeUnitVersions(bytes, count);
    }
    return job.link.Handshake(job.versions.firmwareVersion());
}

}  // namespace ravo::detail
