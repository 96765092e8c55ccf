#include "jobs/unit_view_texts.h"

#include "link/c_format.h"

namespace ravo {

std::string voltageText(double volts)
{
    return formatC("%0.3f", volts);
}

std::string softwareVersionText(const UnitVersions& v)
{
    if (v.betaNumber > 0)
        return formatC("%Xb%02X", unsigned(v.mainVersion), unsigned(v.betaNumber));
    if (v.patchNumber > 0)
        return formatC("%Xp%02X", unsigned(v.mainVersion), unsigned(v.patchNumber));
    return formatC("%X", unsigned(v.mainVersion));
}

std::string moduleVersionText(int software, int hardware)
{
    return formatC("ver %d  (HW %d)", software, hardware);
}

std::vector<std::pair<std::string, std::string>> unitInfoTexts(double volts, const UnitVersions& v)
{
    return {
        {"Voltage", voltageText(volts)},
        {"Software", "ver " + softwareVersionText(v)},
        {"Display", moduleVersionText(v.displaySoftware, v.displayHardware)},
        {"Battery", moduleVersionText(v.batterySoftware, v.batteryHardware)},
        {"Backpack", moduleVersionText(v.backpackSoftware, v.backpackHardware)},
        {"HUD", moduleVersionText(v.hudSoftware, v.hudHardware)},
    };
}

}  // namespace ravo
