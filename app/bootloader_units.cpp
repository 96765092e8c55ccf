#include "app/bootloader_units.h"

#include <cstdlib>
#include <sstream>

#include "app/config_store.h"
#include "link/c_format.h"

namespace ravo {
namespace {

// "1234 ABCD": the unit numbers, upper-case hexadecimal, blank between.
const char kSection[] = "KTLS";
const char kEntry[] = "BOOTLOADER_UNITS";

}  // namespace

BootloaderUnits::BootloaderUnits(ConfigStore* store) : store_(store)
{
    if (!store_)
        return;
    std::istringstream text(store_->readText(kSection, kEntry, ""));
    std::string word;
    while (text >> word) {
        char* end = nullptr;
        const unsigned long unit = std::strtoul(word.c_str(), &end, 16);
        if (end && *end == '\0' && unit > 0 && unit <= 0xFFFF)
            units_.insert(uint16_t(unit));
    }
}

void BootloaderUnits::setWaiting(uint16_t unit, bool waiting)
{
    const bool changed = waiting ? units_.insert(unit).second : units_.erase(unit) > 0;
    if (!changed || !store_)
        return;
    std::string text;
    for (uint16_t u : units_) {
        // Appended piece by piece: GCC 12 at -O3 (the Windows build) warns of
        // an overlap in literal + temporary.
        if (!text.empty())
            text += ' ';
        text += formatC("%04X", unsigned(u));
    }
    store_->writeText(kSection, kEntry, text);
    // A store that cannot be written leaves the knowledge to this run.
    std::string error;
    store_->flush(error);
}

}  // namespace ravo
