#pragma once
#include "settings/setting_edit.h"

namespace ravo {

class WorkTask;

// The edit of a settings row against the unit behind the worker's link, as a
// double-click on the list starts it: ignored while the worker is busy;
// otherwise the link is kept open, opened and connected, and the row edited
// in `record` (the list's copy) and written (see editSettingRow), with the
// handshake version taken from the worker's versions.
EditOutcome editSettingOnUnit(WorkTask& worker, int rowId, UnitSettings& record, bool serviceMode,
                              SettingEditHost& host);

}  // namespace ravo
