#include "jobs/worker_edit_host.h"

#include "jobs/work_task.h"

namespace ravo {
namespace {

class ForwardingHost : public WorkerEditHost {
public:
    ForwardingHost(WorkTask& worker, SettingEditHost& dialogs) : WorkerEditHost(worker), dialogs_(dialogs) {}

    bool showEditor(const EditorRequest& editor, std::string& entered) override
    {
        return dialogs_.showEditor(editor, entered);
    }
    void notice(const std::string& text) override { dialogs_.notice(text); }
    void requestReread() override { dialogs_.requestReread(); }

private:
    SettingEditHost& dialogs_;
};

}  // namespace

bool WorkerEditHost::linkBusy()
{
    return worker_.running();
}

void WorkerEditHost::keepLinkOpen()
{
    worker_.setKeepLinkOpen(true);
}

CIrComm& WorkerEditHost::unitLink()
{
    return worker_.linkForHelpers();
}

uint32_t WorkerEditHost::unitFirmwareVersion()
{
    return worker_.versions().firmwareVersion();
}

bool WorkerEditHost::waitOnLink(const std::function<void()>& work)
{
    JobEvents quiet;
    if (!worker_.start(LinkTaskRequest{[&work](CIrComm&) { work(); }}, quiet))
        return false;
    // The step is one exchange or a connect: it ends within its own time-outs.
    while (!worker_.waitFinished(1000)) {
    }
    return true;
}

EditOutcome editSettingOnUnit(WorkTask& worker, int rowId, UnitSettings& record, bool serviceMode,
                              SettingEditHost& dialogs)
{
    ForwardingHost host(worker, dialogs);
    return editSettingOnUnit(rowId, record, serviceMode, host);
}

}  // namespace ravo
