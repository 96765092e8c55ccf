#include <vector>

#include "jobs/firmware_download.h"
#include "jobs/job_bodies.h"
#include "jobs/unit_info_steps.h"
#include "jobs/work_task.h"

namespace ravo {

int jobFirmware(WorkTask& task, int jobCode)
{
    // The file is read and checked first: a bad one must never leave the
    // unit waiting in its bootloader.
    std::vector<uint8_t> image;
    if (!LoadFirmwareImage(task, image))
        return -1;
    if (jobCode == JOB_FIRMWARE) {
        if (ReadVersionsAndVoltage(task) != 1)
            return kJobEndedEarly;
        if (task.stopCheck())
            return kJobEndedEarly;
    }
    // Each job decides its own entry: a forced job before must not make the
    // next plain one forced.
    task.forcedBootloader = jobCode == JOB_FIRMWARE_FORCE;
    if (jobCode == JOB_FIRMWARE || jobCode == JOB_FIRMWARE_FORCE) {
        if (EnterBootloader(task) != 1)
            return kJobEndedEarly;
        if (task.stopCheck())
            return kJobEndedEarly;
    }
    int result = DownloadAndReconnect(task, image);
    if (result >= 0)
        task.keepLinkOpen = false;
    return result;
}

}  // namespace ravo
