#pragma once

namespace ravo {

enum JobCode : int {
    JOB_NONE = 0,
    JOB_READ_INFO = 1,
    JOB_FIRMWARE = 2,
    JOB_FIRMWARE_BL = 3,
    JOB_FIRMWARE_FORCE = 4,
    JOB_READ_SETTINGS = 5,
    JOB_DIVE_DIRECTORY = 6,
    JOB_DIVE_LOG = 7,
    JOB_REDBOX_DIRECTORY = 8,
    JOB_REDBOX_LOG = 9,
    JOB_FIX_LOST_SR = 11,
    JOB_DIVE_LOGS = 12,  // the dives of logBatch, one after another
};

// Result of a dive or redbox log job whose log was delivered without all of
// its header or records (stopped, link lost, a block that failed): a failure
// for every caller, though what arrived was handed over.
inline constexpr int kJobLogIncomplete = -11;

}  // namespace ravo
