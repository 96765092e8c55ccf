#include "jobs/job_bodies.h"
#include "jobs/unit_info_steps.h"
#include "link/ir_comm.h"
#include "settings/setting_edit_unit.h"
#include "settings/settings_backup.h"

namespace ravo {
namespace {

// The settings are read back after a restore, and once more when that read
// fails on the way: a read that meets one lost reply should not leave the
// restore unconfirmed.
constexpr int kReadBackTries = 2;

// The unit side of an edit on the worker's thread: the editor was answered
// on the user's side already, notices are kept for the user, the link is the
// job's and every wait simply runs here.
class JobEditHost : public UnitEditHost {
public:
    JobEditHost(JobContext& job, std::string entered) : job_(job), entered_(std::move(entered)) {}

    bool showEditor(const EditorRequest&, std::string& entered) override
    {
        entered = entered_;
        return true;
    }
    void notice(const std::string& text) override { notices.push_back(text); }
    void requestReread() override { reread = true; }
    bool linkBusy() override { return false; }
    void keepLinkOpen() override { job_.keepLinkOpen = true; }
    CIrComm& unitLink() override { return job_.link; }
    uint32_t unitFirmwareVersion() override { return job_.versions.firmwareVersion(); }

    std::vector<std::string> notices;
    bool reread = false;

private:
    JobContext& job_;
    std::string entered_;
};

}  // namespace

EditRowResult runJob(JobContext& job, const EditRowRequest& request)
{
    EditRowResult result;
    result.rowId = request.rowId;
    result.record = request.record;
    JobEditHost host(job, request.entered);
    result.outcome = editSettingOnUnit(request.rowId, result.record, request.serviceMode, host);
    result.notices = host.notices;
    result.reread = host.reread;
    return result;
}

RestoreSettingsResult runJob(JobContext& job, const RestoreRequest& request)
{
    RestoreSettingsResult result;
    result.record = request.record;
    result.path = request.path;
    result.requested = int(request.rowIds.size());
    JobEditHost host(job, {});
    result.restore = restoreSettings(request.file, request.rowIds, result.record, host);
    // A write acknowledged is not yet a value held: the unit's settings are
    // read back and every row compared with the file.
    UnitSettings back;
    for (int tries = 0; tries < kReadBackTries && !request.rowIds.empty() && !back.valid &&
                        job.link.IsConnected() && !job.stopCheck();
         ++tries)
        ReadSettings(job, back);
    checkRestore(result.restore, request.rowIds, back, request.file);
    if (back.valid)
        result.record = back;
    else if (!request.rowIds.empty())
        host.notice("The settings could not be read back from the unit: no row is confirmed");
    result.notices = host.notices;
    result.reread = host.reread;
    return result;
}

}  // namespace ravo
