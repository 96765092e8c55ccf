#include "jobs/job_bodies.h"
#include "jobs/unit_info_steps.h"

namespace ravo {

ReadInfoResult runJob(JobContext& job, const ReadInfoRequest& request)
{
    ReadInfoResult result;
    result.settingsOnly = request.settingsOnly;
    UnitSettings settings;
    if (request.settingsOnly) {
        result.code = ReadSettings(job, settings);
        result.settings = settings;
        return result;
    }
    UnitReading reading;
    result.code = ReadVersionsAndVoltage(job, reading);
    result.versions = reading.versions;
    result.voltage = reading.voltage;
    if (result.code != 1)
        return result;
    SendUnitFound(job);
    if (job.stopCheck()) {
        result.code = -3;
        return result;
    }
    result.code = ReadSettings(job, settings);
    result.settings = settings;
    if (result.code == -1)
        job.line("User cancel....");
    else if (result.code < 0)
        job.line("Error reading settings value...");
    else
        CheckVoltage(job, reading.voltage.value_or(0));
    return result;
}

}  // namespace ravo
