#include "settings/setting_edit_unit.h"

#include "link/ir_comm.h"
#include "link/unit_time.h"

namespace ravo {
namespace {

// A write the unit did not acknowledge is sent again, like a failed block:
// every write sets a value (or starts a reset), so one that arrived twice
// does no harm.
constexpr int kWriteTries = 3;

// The edit path's view of the real link; every call waits where the host says.
class IrCommSettingLink : public SettingLink {
public:
    IrCommSettingLink(CIrComm& link, UnitEditHost& host) : link_(link), host_(host) {}

    bool isConnected() override { return link_.IsConnected(); }
    int handshake(uint32_t version) override
    {
        // A lost challenge or acknowledgement is tried again like a write:
        // each try starts with a new challenge.
        int result = 0;
        host_.waitOnLink([&] {
            for (int tries = 0; tries < kWriteTries && result != 1 && link_.IsConnected(); ++tries)
                result = link_.Handshake(version);
        });
        return result;
    }
    uint32_t firmwareVersion() override { return link_.linkFirmwareVersion(); }
    int write(const SettingWrite& w) override
    {
        int result = 0;
        host_.waitOnLink([&] {
            for (int tries = 0; tries < kWriteTries && result != 1 && link_.IsConnected(); ++tries)
                result = send(w);
        });
        return result;
    }

private:
    int send(const SettingWrite& w)
    {
        switch (w.kind) {
        case SettingWrite::Byte: return link_.WriteByte(w.command, uint8_t(w.value));
        case SettingWrite::Word: return link_.WriteWord(w.command, uint16_t(w.value));
        case SettingWrite::Dword: return link_.WriteDword(w.command, w.value);
        case SettingWrite::Bytes: return link_.WriteBytes(w.command, w.b0, w.b1);
        }
        return 0;
    }

    CIrComm& link_;
    UnitEditHost& host_;
};

}  // namespace

uint32_t UnitEditHost::unitNow()
{
    return currentUnitTime();
}

EditOutcome editSettingOnUnit(int rowId, UnitSettings& record, bool serviceMode, UnitEditHost& host)
{
    if (host.linkBusy())
        return EditOutcome::Ignored;
    host.keepLinkOpen();
    CIrComm& link = host.unitLink();
    // Results not looked at: a link that did not connect is caught after the editor.
    if (!host.waitOnLink([&] {
            link.Open();
            link.Connect();
        }))
        return EditOutcome::Ignored;
    IrCommSettingLink editLink(link, host);
    return editSettingRow(rowId, record, serviceMode, host.unitFirmwareVersion(), editLink, host,
                          [&host] { return host.unitNow(); });
}

}  // namespace ravo
