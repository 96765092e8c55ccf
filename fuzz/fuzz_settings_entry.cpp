// Text typed into the setting editors (or given to "ravo-cli set"): converted,
// clamped and turned into the writes of every row, from any record.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "settings/entry_conversion.h"
#include "settings/setting_editor.h"
#include "settings/settings_rows.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace ravo;
    if (size < 8)
        return 0;
    UnitSettings record;
    // The first bytes pick a record the unit might hold, including odd ones.
    record.dilN2Percent = int8_t(data[0]);
    record.dilHePercent = int8_t(data[1]);
    record.batteryType = data[2] & 7;
    record.setpointSurface = data[3] * 0.01;
    record.setpointDepth = data[4] * 0.01;
    record.decoAvailable = data[5] & 1;
    record.decoEnabled = (data[5] >> 1) & 1;
    record.depthLimit = data[6];
    const uint32_t version = (data[7] & 1) ? 0x4925 : 0x4512;
    std::string text(reinterpret_cast<const char*>(data + 8), size - 8);

    entryToInt(text);
    entryToReal(text);
    for (int rowId = 0; rowId <= 28; ++rowId) {
        UnitSettings copy = record;
        auto editor = editorForRow(rowId, copy);
        if (!editor)
            continue;
        applyEditorEntry(rowId, *editor, text, copy);
        rowWrites(rowId, copy, version, 0);
        buildSettingsRows(copy, true);
    }
    return 0;
}
