// The versions reply as the unit sends it, of any length.
#include <cstddef>
#include <cstdint>

#include "jobs/unit_versions.h"
#include "jobs/unit_view_texts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace ravo;
    UnitVersions v = decodeUnitVersions(data, int(size > 64 ? 64 : size));
    unitInfoTexts(0, v);
    (void)v.firmwareVersion();
    return 0;
}
