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

std::vector<std::pair<std::string, std::string>> unitInfoTexts(const std::optional<double>& volts,
                                                               const std::optional<UnitVersions>& versions)
{
    auto version = [&](auto text) { return versions ? text(*versions) : std::string(kNotRead); };
    return {
        {"Voltage", volts ? voltageText(*volts) : kNotRead},
        {"Software", version([](const UnitVersions& v) { return "ver " + softwareVersionText(v); })},
        {"Display", version([](const UnitVersions& v) { return moduleVersionText(v.displaySoftware, v.displayHardware); })},
        {"Battery", version([](const UnitVersions& v) { return moduleVersionText(v.batterySoftware, v.batteryHardware); })},
        {"Backpack",
         version([](const UnitVersions& v) { return moduleVersionText(v.backpackSoftware, v.backpackHardware); })},
        {"HUD", version([](const UnitVersions& v) { return moduleVersionText(v.hudSoftware, v.hudHardware); })},
    };
}

std::string infoValueOnScreen(const std::string& caption, const std::string& value)
{
    if (caption == "Voltage" && value != kNotRead)
        return value + " V";
    return value;
}

std::string valueLabelName(const std::string& caption, const std::string& value)
{
    if (value.empty() || value == kNotRead)
        return caption + " not read";
    std::string joined;
    size_t start = 0;
    while (start <= value.size()) {
        size_t end = value.find('\n', start);
        if (end == std::string::npos)
            end = value.size();
        std::string line = value.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            joined += (joined.empty() ? "" : "; ") + line;
        start = end + 1;
    }
    return caption + " " + joined;
}

}  // namespace ravo
