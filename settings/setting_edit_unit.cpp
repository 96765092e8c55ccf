#include "settings/setting_edit_unit.h"

#include "jobs/work_task.h"
#include "link/unit_time.h"

namespace ravo {
namespace {

// The edit path's view of the real link.
class IrCommSettingLink : public SettingLink {
public:
    explicit IrCommSettingLink(CIrComm& link) : link_(link) {}

    bool isConnected() override { return link_.IsConnected(); }
    int handshake(uint32_t version) override { return link_.Handshake(version); }
    uint32_t firmwareVersion() override { return link_.linkFirmwareVersion(); }
    int write(const SettingWrite& w) override
    {
        switch (w.kind) {
        case SettingWrite::Byte: return link_.WriteByte(w.command, uint8_t(w.value));
        case SettingWrite::Word: return link_.WriteWord(w.command, uint16_t(w.value));
        case SettingWrite::Dword: return link_.WriteDword(w.command, w.value);
        case SettingWrite::Bytes: return link_.WriteBytes(w.command, w.b0, w.b1);
        }
        return 0;
    }

private:
    CIrComm& link_;
};

}  // namespace

EditOutcome editSettingOnUnit(WorkTask& worker, int rowId, UnitSettings& record, bool serviceMode,
                              SettingEditHost& host)
{
    if (worker.busy)
        return EditOutcome::Ignored;
    worker.keepLinkOpen = true;
    // Results not looked at: a link that did not connect is caught after the editor.
    worker.link.Open();
    worker.link.Connect();
    IrCommSettingLink link(worker.link);
    return editSettingRow(rowId, record, serviceMode, worker.versions.firmwareVersion(), link, host,
                          currentUnitTime);
}

}  // namespace ravo
