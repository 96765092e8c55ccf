#include "jobs/job_bodies.h"
#include "link/ir_comm.h"
#include "settings/setting_edit_unit.h"
#include "settings/settings_backup.h"

namespace ravo {
namespace {

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
    result.notices = host.notices;
    result.reread = host.reread;
    return result;
}

}  // namespace ravo
