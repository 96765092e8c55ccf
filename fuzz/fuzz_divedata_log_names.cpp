// Saved log names taken apart, grouped and turned back into paths.
#include <cstdint>
#include <string>

#include "divedata/saved_logs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string name(reinterpret_cast<const char*>(data), size);
    (void)ravo::SerialFromLogName(name);
    (void)ravo::DateKindFromLogName(name);
    (void)ravo::GroupSavedLogs({name, "KTL_SN1_2000-01-01_00-00-00_O"});
    return 0;
}
