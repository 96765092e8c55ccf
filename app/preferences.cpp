#include "app/preferences.h"

#include "app/config_entries.h"
#include "jobs/unit_view_texts.h"

namespace ravo {

Preferences preferencesOf(const AppConfig& config)
{
    return {config.diveFolder, config.redboxFolder, config.firmwareFolder, config.linkAddress,
            config.checkForUpdates};
}

bool applyPreferences(AppConfig& config, const Preferences& p, std::string& error)
{
    AppConfig changed = config;
    const struct {
        const char* entry;
        const char* caption;
        const std::string& value;
    } entries[] = {{"DIVEFOLDER", "Dive folder", p.diveFolder},
                   {"REDBOXFOLDER", "Redbox folder", p.redboxFolder},
                   {"FWFOLDER", "Firmware folder", p.firmwareFolder},
                   {"LINK", "Link address", p.linkAddress}};
    for (const auto& entry : entries) {
        std::string reason;
        if (setConfigEntry(changed, entry.entry, entry.value, reason) != ConfigSetResult::Changed) {
            error = std::string(entry.caption) + ": " + reason;
            return false;
        }
    }
    changed.checkForUpdates = p.checkForUpdates;
    config = changed;
    return true;
}

std::string linkTestText(int code, const std::optional<UnitVersions>& versions, const std::string& lastStatus)
{
    if (code == 1 && versions)
        return "The unit answers: software ver " + softwareVersionText(*versions) + ".";
    return "No answer: " + (lastStatus.empty() ? std::string("the unit did not reply.") : lastStatus);
}

}  // namespace ravo
