#pragma once
#include "jobs/job_requests.h"

namespace ravo {

// The configuration's download mode: which firmware download "FW Download"
// asks for (the unit number box chooses it: "BL", "NNNN*").
inline constexpr int JOB_FIRMWARE = int(FirmwareMode::Normal);
inline constexpr int JOB_FIRMWARE_BL = int(FirmwareMode::Bootloader);
inline constexpr int JOB_FIRMWARE_FORCE = int(FirmwareMode::Forced);

}  // namespace ravo
