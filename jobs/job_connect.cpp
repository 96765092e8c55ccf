#include "jobs/job_bodies.h"
#include "link/ir_comm.h"

namespace ravo {

ConnectResult runJob(JobContext& job, const ConnectRequest& request)
{
    ConnectResult result;
    if (!request.readVersions)
        return result;
    uint8_t bytes[15] = {};
    int count = 0;
    job.versions.clear();
    if (!job.link.ReadVersions(bytes, count)) {
        result.code = -4;
        return result;
    }
    // The versions choose the opcode map of everything sent afterwards.
    job.versions = decodeUnitVersions(bytes, count);
    job.link.setLinkFirmwareVersion(job.versions.firmwareVersion());
    result.code = 1;
    result.versions = job.versions;
    return result;
}

LinkTaskResult runJob(JobContext& job, const LinkTaskRequest& request)
{
    if (request.work)
        request.work(job.link);
    return {};
}

}  // namespace ravo
