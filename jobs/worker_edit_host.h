#pragma once
#include "settings/setting_edit_unit.h"

namespace ravo {

class WorkTask;

// The unit side of a setting edit driven step by step by a caller that may
// wait (the command line): every wait on the link runs as a job on the worker
// and returns when it ended; the link's state is read only between them. The
// dialogs and notices stay with the deriving class.
class WorkerEditHost : public UnitEditHost {
public:
    explicit WorkerEditHost(WorkTask& worker) : worker_(worker) {}

    bool linkBusy() override;
    void keepLinkOpen() override;
    CIrComm& unitLink() override;
    uint32_t unitFirmwareVersion() override;
    bool waitOnLink(const std::function<void()>& work) override;

protected:
    WorkTask& worker_;
};

// editSettingOnUnit against the worker's link, with `dialogs` answering the
// editors and taking the notices and the re-read request.
EditOutcome editSettingOnUnit(WorkTask& worker, int rowId, UnitSettings& record, bool serviceMode,
                              SettingEditHost& dialogs);

}  // namespace ravo
