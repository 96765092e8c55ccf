#include <vector>

#include "jobs/firmware_download.h"
#include "jobs/job_bodies.h"
#include "jobs/unit_info_steps.h"

namespace ravo {

FirmwareResult runJob(JobContext& job, const FirmwareRequest& request)
{
    FirmwareResult result;
    // The file is read and checked first: a bad one must never leave the
    // unit waiting in its bootloader.
    std::vector<uint8_t> image;
    if (!LoadFirmwareImage(job, request.path, image)) {
        result.code = -1;
        return result;
    }
    if (request.mode == FirmwareMode::Normal) {
        UnitReading reading;
        if (ReadVersionsAndVoltage(job, reading) != 1 || job.stopCheck()) {
            result.code = kJobEndedEarly;
            return result;
        }
    }
    if (request.mode != FirmwareMode::Bootloader) {
        bool acknowledged = false;
        const int entered = EnterBootloader(job, request.mode == FirmwareMode::Forced, &acknowledged);
        // Once the unit took the request it restarts into its bootloader,
        // whatever happens here afterwards.
        if (acknowledged)
            result.bootloader = BootloaderState::Waiting;
        if (entered != 1 || job.stopCheck()) {
            result.code = kJobEndedEarly;
            return result;
        }
    }
    DownloadReport report;
    result.code = DownloadAndReconnect(job, image, &report);
    if (report.bootloaderAnswered)
        result.bootloader = BootloaderState::Waiting;
    if (result.code == 0 && report.accepted)
        result.bootloader = BootloaderState::Left;
    if (result.code >= 0)
        job.keepLinkOpen = false;
    return result;
}

}  // namespace ravo
