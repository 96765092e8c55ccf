#include <cstdint>

#include "divedata/dive_log.h"
#include "jobs/firmware_download.h"
#include "jobs/job_bodies.h"
#include "jobs/log_jobs_p.h"
#include "jobs/unit_info_steps.h"
#include "link/ir_comm.h"
#include "link/unit_time.h"

namespace ravo {
namespace {

constexpr unsigned kPowerDownPauseMs = 250;

// A header is a source for the unit number only when it is a valid header
// that recorded a real number (never 0 or the lost-number mark 0xFFFF) and a
// service date: writing 0 as either would leave the unit worse than before.
bool isRecoverySource(const CDiveHeaderRedbox& header)
{
    return header.valid && header.unitSerial != 0 && header.unitSerial != 0xFFFF && header.serviceDate != 0;
}

// Searches the redbox logs for the first source header, reading one entry
// and header at a time into the job's own log.
// 1 found, 0 none, -1 a directory entry could not be read.
int findRecoverySource(JobContext& task, CDiveLog& working, int& index)
{
    CIrComm& link = task.link;
    uint16_t count = 0;
    if (!link.ReadLogCount(UNIT_CMD_GET_REDBOX_COUNT, count))
        count = 0;
    for (int i = 0; i < count; ++i) {
        task.line("Read unit info %d", i);
        working.clear();
        detail::readDirectoryEntry(task, UNIT_CMD_GET_REDBOX_INFO, uint16_t(i), working.info);
        if (!working.info.valid) {
            task.line("Error writing to unit");
            return -1;
        }
        if (!link.ReadHeaderBlocks(UNIT_CMD_GET_REDBOX_HEADER, uint16_t(i), working.redboxHeader.raw))
            continue;
        working.redboxHeader.Parse();
        if (isRecoverySource(working.redboxHeader)) {
            index = i;
            return 1;
        }
    }
    return 0;
}

int recoverUnitNumber(JobContext& task)
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

    if (!link.SetClock(currentUnitTime()) || !link.SendRecoveryWord() || !link.SetServiceDate(source.serviceDate) ||
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

FixSerialResult runJob(JobContext& task, const FixSerialRequest&)
{
    FixSerialResult result;
    UnitReading reading;
    if (ReadVersionsAndVoltage(task, reading) != 1 || task.stopCheck()) {
        result.code = kJobEndedEarly;
        return result;
    }
    result.code = recoverUnitNumber(task);
    if (result.code >= 0)
        task.keepLinkOpen = false;
    return result;
}

}  // namespace ravo
