#pragma once
#include <cstdint>
#include <set>

namespace ravo {

class ConfigStore;

// The units this program left waiting in their bootloader (a firmware
// download that stopped or failed after the unit entered it), kept in the
// configuration store as they change, so that the next start still knows.
// Only this knowledge lets the window say that a unit which does not answer
// waits in its bootloader.
class BootloaderUnits {
public:
    // Reads the store's entry; with no store the knowledge lasts for this run.
    explicit BootloaderUnits(ConfigStore* store);

    bool waiting(uint16_t unit) const { return units_.count(unit) > 0; }
    void setWaiting(uint16_t unit, bool waiting);

private:
    ConfigStore* store_;
    std::set<uint16_t> units_;
};

}  // namespace ravo
