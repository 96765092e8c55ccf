#pragma once
#include <cstdint>
#include <functional>

#include "settings/setting_edit.h"

namespace ravo {

class CIrComm;

// What the edit of a settings row on the unit needs of whoever owns the link
// (the program's worker), besides the dialogs and notices of SettingEditHost.
class UnitEditHost : public SettingEditHost {
public:
    // True while a job runs on the link: the edit is then refused.
    virtual bool linkBusy() = 0;
    // The link is to stay open after the edit (the owner's idle rule closes it).
    virtual void keepLinkOpen() = 0;
    virtual CIrComm& unitLink() = 0;
    // The unit firmware version of the last versions read, for the handshake.
    virtual uint32_t unitFirmwareVersion() = 0;
    // Runs `work`, which waits on the link, and returns after it. A window
    // runs it where painting goes on; false when it could not run it at all.
    virtual bool waitOnLink(const std::function<void()>& work)
    {
        work();
        return true;
    }
    // The PC's time in unit time, for the clock and service date rows.
    virtual uint32_t unitNow();
};

// The edit of a settings row as a double-click on the list starts it: ignored
// while the link is busy; otherwise the link is kept open, opened and
// connected, and the row edited in `record` (the list's copy) and written (see
// editSettingRow). Every wait on the link goes through host.waitOnLink.
EditOutcome editSettingOnUnit(int rowId, UnitSettings& record, bool serviceMode, UnitEditHost& host);

}  // namespace ravo
