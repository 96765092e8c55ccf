#include "jobs/firmware_download.h"
#include "jobs/job_bodies.h"
#include "jobs/unit_info_steps.h"
#include "jobs/work_task.h"

namespace ravo {

int jobFirmware(WorkTask& task, int jobCode)
{
    if (jobCode == JOB_FIRMWARE) {
        if (ReadVersionsAndVoltage(task) != 1)
            return kJobEndedEarly;
        if (task.stopCheck())
            return kJobEndedEarly;
    }
    if (jobCode == JOB_FIRMWARE || jobCode == JOB_FIRMWARE_FORCE) {
        if (jobCode == JOB_FIRMWARE_FORCE)
            task.forcedBootloader = true;
        if (EnterBootloader(task) != 1)
            return kJobEndedEarly;
        if (task.stopCheck())
            return kJobEndedEarly;
    }
    int result = DownloadAndReconnect(task);
    if (result >= 0)
        task.keepLinkOpen = false;
    return result;
}

}  // namespace ravo
