#pragma once
#include "jobs/job_context.h"
#include "jobs/job_requests.h"
#include "jobs/job_results.h"

namespace ravo {

// The job bodies the worker dispatches to, one per request type, each in a
// file of its own. A body runs after the worker's connect steps (for the
// requests that name a unit), reports its own lines through `job` and returns
// what its requester needs.
ConnectResult runJob(JobContext& job, const ConnectRequest& request);
ReadInfoResult runJob(JobContext& job, const ReadInfoRequest& request);
DirectoryResult runJob(JobContext& job, const DirectoryRequest& request);
LogsResult runJob(JobContext& job, const LogsRequest& request);
FirmwareResult runJob(JobContext& job, const FirmwareRequest& request);
FixSerialResult runJob(JobContext& job, const FixSerialRequest& request);
EditRowResult runJob(JobContext& job, const EditRowRequest& request);
RestoreSettingsResult runJob(JobContext& job, const RestoreRequest& request);
PowerDownResult runJob(JobContext& job, const PowerDownRequest& request);
LinkTaskResult runJob(JobContext& job, const LinkTaskRequest& request);

}  // namespace ravo
