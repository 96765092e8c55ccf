#include "jobs/unit_versions.h"

namespace ravo {

UnitVersions decodeUnitVersions(const uint8_t* payload, int length)
{
    UnitVersions v;
    if (!payload || length <= 0)
        return v;
    auto at = [&](int i) { return i < length ? int32_t(payload[i]) : 0; };
    // The fields come in pairs; a pair is taken only when the reply holds all of it.
    if (length >= 2) {
        v.hudSoftware = at(0);
        v.hudHardware = at(1);
    }
    if (length >= 4) {
        v.displaySoftware = at(2);
        v.displayHardware = at(3);
    }
    if (length >= 6) {
        v.backpackSoftware = at(4);
        v.backpackHardware = at(5);
    }
    if (length >= 8) {
        v.batterySoftware = at(6);
        v.batteryHardware = at(7);
    }
    if (length >= 10) {
        v.betaNumber = at(8);
        v.mainVersion = at(9);
    }
    if (length >= 12) {
        v.hudExtra = at(10);
        v.displayExtra = at(11);
        v.backpackExtra = at(12);
        v.batteryExtra = at(13);
    }
    if (length >= 15)
        v.patchNumber = at(14);
    return v;
}

}  // namespace ravo
