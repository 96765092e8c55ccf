#include "jobs/job_requests.h"

#include "jobs/job_results.h"

namespace ravo {
namespace {

struct KindOf {
    JobKind operator()(const ConnectRequest&) const { return JobKind::Connect; }
    JobKind operator()(const ReadInfoRequest& r) const
    {
        return r.settingsOnly ? JobKind::ReadSettings : JobKind::ReadInfo;
    }
    JobKind operator()(const DirectoryRequest& r) const
    {
        return r.kind == LogKind::Dive ? JobKind::DiveDirectory : JobKind::RedboxDirectory;
    }
    JobKind operator()(const LogsRequest& r) const
    {
        return r.kind == LogKind::Dive ? JobKind::DiveLogs : JobKind::RedboxLog;
    }
    JobKind operator()(const FirmwareRequest&) const { return JobKind::Firmware; }
    JobKind operator()(const FixSerialRequest&) const { return JobKind::FixSerial; }
    JobKind operator()(const EditRowRequest&) const { return JobKind::EditRow; }
    JobKind operator()(const RestoreRequest&) const { return JobKind::RestoreSettings; }
    JobKind operator()(const PowerDownRequest&) const { return JobKind::PowerDown; }
    JobKind operator()(const LinkTaskRequest&) const { return JobKind::LinkTask; }
};

struct CodeOf {
    int operator()(const ConnectResult& r) const { return r.code; }
    int operator()(const ReadInfoResult& r) const { return r.code; }
    int operator()(const DirectoryResult& r) const { return r.code; }
    int operator()(const LogsResult& r) const { return r.code; }
    int operator()(const FirmwareResult& r) const { return r.code; }
    int operator()(const FixSerialResult& r) const { return r.code; }
    int operator()(const EditRowResult& r) const { return r.outcome == EditOutcome::Sent ? 1 : 0; }
    int operator()(const RestoreSettingsResult& r) const
    {
        return r.restore.checked && r.restore.notWritten.empty() ? 1 : 0;
    }
    int operator()(const PowerDownResult& r) const { return r.sent ? 1 : 0; }
    int operator()(const LinkTaskResult&) const { return 1; }
};

}  // namespace

JobKind jobKindOf(const JobRequest& request)
{
    return std::visit(KindOf{}, request);
}

ProgressKind progressKindOf(JobKind kind)
{
    switch (kind) {
    case JobKind::DiveLogs:
    case JobKind::RedboxLog: return ProgressKind::LogRecords;
    case JobKind::Firmware: return ProgressKind::FirmwareChunks;
    default: return ProgressKind::None;
    }
}

int JobOutcome::code() const
{
    return connected() ? std::visit(CodeOf{}, result) : 0;
}

}  // namespace ravo
