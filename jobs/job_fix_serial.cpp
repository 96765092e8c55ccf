#include <cstdint>
#include <ctime>

#include "divedata/dive_log.h"
#include "jobs/firmware_download.h"
#include "jobs/job_bodies.h"
#include "jobs/unit_info_steps.h"
#include "jobs/work_task.h"

namespace ravo {
namespace {

constexpr int64_t kUnitEpoch = 946684800;  // 2000-01-01 00:00:00 UTC in Unix time
constexpr unsigned kPowerDownPauseMs = 250;

uint32_t unitTimeNow()
{
    return uint32_t(int64_t(std::time(nullptr)) - kUnitEpoch);
}

// Searches the redbox logs for the first header with a real unit number,
// reading one entry and header at a time into the job's own log.
// 1 found, 0 none, -1 a directory entry could not be read.
int findRecoverySource(WorkTask& task, CDiveLog& working, int& index)
{
    CIrComm& link = task.link;
    uint16_t count = 0;
    if (!link.ReadLogCount(UNIT_CMD_GET_REDBOX_COUNT, count))
        count = 0;
    for (int i = 0; i < count; ++i) {
        task.line("Read unit info %d", i);
        working.clear();
        LogDirectoryEntry entry;
        if (!link.ReadLogEntry(UNIT_CMD_GET_REDBOX_INFO, uint16_t(i), entry)) {
            task.line("Error writing to unit");
            return -1;
        }
        working.info.unitNumber = task.unitNumber;
        working.info.index = uint16_t(i);
        working.info.startTime = entry.startTime;
        working.info.recordCount = entry.recordCount;
        working.info.auxWord = entry.auxWord;
        working.info.valid = 1;
        if (!link.ReadHeaderBlocks(UNIT_CMD_GET_REDBOX_HEADER, uint16_t(i), working.redboxHeader.raw))
            continue;
        working.redboxHeader.Parse();
        if (working.redboxHeader.unitSerial != 0xFFFF) {
            index = i;
            return 1;
        }
    }
    return 0;
}

int recoverUnitNumber(WorkTask& task)
{
    CIrComm& link = task.link;
    task.line("Try to fix serial number issue");
    if (!link.Handshake(task.versions.firmwareVersion())) {
        task.line("Failed to enter mode");
        return -1;
    }
    CDiveLog working;
    int index = 0;
    int found = findRecoverySource(task, working, index);
    if (found < 0)
        return -1;
    if (found == 0) {
        task.line("Did not find recover information");
        return 0;
    }
    const CDiveHeaderRedbox& source = working.redboxHeader;
    task.line("Found unit (%d) id %04X", index, unsigned(source.unitSerial));

    if (!link.SetClock(unitTimeNow()) || !link.SendRecoveryWord() || !link.SetServiceDate(source.serviceDate) ||
        !link.SetRecoveryFlag()) {
        task.line("Error updating unit");
        return -1;
    }
    link.SetUnitNumber(source.unitSerial);
    link.clock().sleepMs(kPowerDownPauseMs);
    link.PowerDown();
    task.line("Please, restart unit");
    return 1;
}

}  // namespace

int jobFixLostSerial(WorkTask& task)
{
    if (ReadVersionsAndVoltage(task) != 1)
        return kJobEndedEarly;
    if (task.stopCheck())
        return kJobEndedEarly;
    int result = recoverUnitNumber(task);
    if (result >= 0)
        task.keepLinkOpen = false;
    return result;
}

}  // namespace ravo
