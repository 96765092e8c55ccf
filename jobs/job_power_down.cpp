#include "jobs/job_bodies.h"
#include "link/ir_comm.h"

namespace ravo {
namespace {

// The unit needs this long after the command before the link may go.
constexpr uint32_t kPowerDownPauseMs = 500;

}  // namespace

// With a connected unit: the power-down command (its answer not looked at),
// the link closed and not kept open, the pause, and the link closed again.
// Nothing is sent when the link is not connected.
PowerDownResult runJob(JobContext& job, const PowerDownRequest&)
{
    PowerDownResult result;
    if (!job.link.IsConnected())
        return result;
    job.link.PowerDown();
    job.keepLinkOpen = false;
    job.link.Close();
    job.link.clock().sleepMs(kPowerDownPauseMs);
    job.link.Close();
    result.sent = true;
    return result;
}

}  // namespace ravo
