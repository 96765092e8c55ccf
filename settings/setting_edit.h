#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "settings/setting_editor.h"
#include "settings/unit_settings.h"

namespace ravo {

// What the edit path needs of whoever drives it (the desktop list and its
// dialogs, or the command line).
class SettingEditHost {
public:
    virtual ~SettingEditHost() = default;
    // Shows `editor` modally. True for OK, with the edit field's text in
    // `entered` (for a Bool editor the text of the checked choice); false for
    // Cancel.
    virtual bool showEditor(const EditorRequest& editor, std::string& entered) = 0;
    // A modal notice: "Can not be changed", "Used by service center",
    // "Failed to connect to unit".
    virtual void notice(const std::string& text) = 0;
    // The settings should be read again.
    virtual void requestReread() = 0;
};

// What the edit path needs of the unit link.
class SettingLink {
public:
    virtual ~SettingLink() = default;
    virtual bool isConnected() = 0;
    // The access handshake with the given unit firmware version: 1 or 0.
    virtual int handshake(uint32_t version) = 0;
    // The unit firmware version the link holds; it picks the opcode map.
    virtual uint32_t firmwareVersion() = 0;
    // Sends one write: 1 when the unit acknowledged it.
    virtual int write(const SettingWrite& write) = 0;
};

enum class EditOutcome {
    Ignored,          // the worker is busy
    NotEditable,      // id 0 or unknown; notice without service mode
    ServiceOnly,      // a reset row without service mode; notice
    Cancelled,        // the editor ended with Cancel
    NotConnected,     // nothing sent; the record keeps the edited value
    HandshakeFailed,  // notice; nothing sent
    Sent,             // the writes went out and the re-read was requested
    NotTaken,         // a write was not acknowledged: the rest of the row's writes
                      // were not sent; the re-read was requested all the same
};

// The user's side of an edit, before anything reaches the unit: a notice for
// a row that cannot be edited (none in service mode) or for a reset row
// without service mode, else the row's editor. True with the editor's text in
// `entered`; false with the reason in `outcome` (NotEditable, ServiceOnly,
// Cancelled).
bool askRowEdit(int rowId, const UnitSettings& record, bool serviceMode, SettingEditHost& host, std::string& entered,
                EditOutcome& outcome);

// Edits row `rowId` of `record` (the list's own copy) and sends it to the
// unit: editor, conversion, handshake when the row needs it (with
// `unitVersion`, from the worker's versions), the writes in the link's opcode
// map (stopping at one the unit does not acknowledge), then the re-read
// request. `unitNow` gives the PC's time in unit time
// and is asked after the editor closed.
EditOutcome editSettingRow(int rowId, UnitSettings& record, bool serviceMode, uint32_t unitVersion,
                           SettingLink& link, SettingEditHost& host,
                           const std::function<uint32_t()>& unitNow);

}  // namespace ravo
