#include "settings/setting_edit.h"

namespace ravo {

bool askRowEdit(int rowId, const UnitSettings& record, bool serviceMode, SettingEditHost& host, std::string& entered,
                EditOutcome& outcome)
{
    std::optional<EditorRequest> editor = editorForRow(rowId, record);
    if (!editor) {
        // Service mode silences the notice: a service centre clicks around.
        if (!serviceMode)
            host.notice("Can not be changed");
        outcome = EditOutcome::NotEditable;
        return false;
    }
    if (rowIsServiceOnly(rowId) && !serviceMode) {
        host.notice("Used by service center");
        outcome = EditOutcome::ServiceOnly;
        return false;
    }
    entered = editor->valueText;
    if (!host.showEditor(*editor, entered)) {
        outcome = EditOutcome::Cancelled;
        return false;
    }
    return true;
}

EditOutcome editSettingRow(int rowId, UnitSettings& record, bool serviceMode, uint32_t unitVersion,
                           SettingLink& link, SettingEditHost& host,
                           const std::function<uint32_t()>& unitNow)
{
    std::string entered;
    EditOutcome refused = EditOutcome::Cancelled;
    if (!askRowEdit(rowId, record, serviceMode, host, entered, refused))
        return refused;
    std::optional<EditorRequest> editor = editorForRow(rowId, record);
    applyEditorEntry(rowId, *editor, entered, record);
    uint32_t now = unitNow ? unitNow() : 0;

    if (!link.isConnected())
        return EditOutcome::NotConnected;
    if (rowNeedsHandshake(rowId) && link.handshake(unitVersion) != 1) {
        host.notice("Failed to connect to unit");
        return EditOutcome::HandshakeFailed;
    }
    EditOutcome outcome = EditOutcome::Sent;
    for (const SettingWrite& write : rowWrites(rowId, record, link.firmwareVersion(), now))
        if (link.write(write) != 1) {
            outcome = EditOutcome::NotTaken;
            break;
        }
    // Also after a write that failed: the list then shows what the unit holds.
    host.requestReread();
    return outcome;
}

}  // namespace ravo
