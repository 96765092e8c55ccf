#pragma once
#include <atomic>

#include "jobs/job_context.h"
#include "link/ir_comm.h"
#include "support/recording_events.h"

namespace ravo::test {

// A job's context around a link of the test's own, as the worker makes one
// for each job: the job steps run on the test's thread.
struct JobBench {
    CIrComm link;
    RecordingEvents events;
    std::atomic<bool> stop{false};
    std::atomic<bool> keepLinkOpen{false};
    UnitVersions versions;
    JobContext job{link, events, stop, keepLinkOpen, versions};
};

}  // namespace ravo::test
