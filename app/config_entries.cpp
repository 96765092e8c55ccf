#include "app/config_entries.h"

#include <cctype>

#include "firmware/file_util.h"
#include "link/link_address.h"

namespace ravo {
namespace {

std::string upper(std::string text)
{
    for (char& c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::vector<ConfigEntry> configEntries(const AppConfig& config)
{
    std::vector<ConfigEntry> entries{{"KTLS/UPDATEURL", config.updateUrl}};
    for (const StoredEntry& entry : config.storedEntries())
        entries.push_back({std::string(entry.section) + "/" + entry.name, entry.value});
    return entries;
}

ConfigSetResult setConfigEntry(AppConfig& config, const std::string& name, const std::string& value,
                               std::string& error)
{
    std::string key = upper(name);
    if (key.rfind("KTLS/", 0) == 0)
        key.erase(0, 5);
    std::string* folder = key == "FWFOLDER"       ? &config.firmwareFolder
                          : key == "DIVEFOLDER"   ? &config.diveFolder
                          : key == "REDBOXFOLDER" ? &config.redboxFolder
                          : key == "DATAFOLDER"   ? &config.dataFolder
                                                  : nullptr;
    if (folder) {
        if (value.empty()) {
            error = "A folder can not be empty";
            return ConfigSetResult::BadValue;
        }
        *folder = absolutePath(value);
        return ConfigSetResult::Changed;
    }
    if (key == "LINK") {
        // Built as the link will build it: a malformed address, an unknown
        // simulated unit or a scenario that does not read is refused now.
        if (!createTransport(value, error))
            return ConfigSetResult::BadValue;
        config.linkAddress = value;
        return ConfigSetResult::Changed;
    }
    error = "Unknown entry \"" + name + "\": FWFOLDER, DIVEFOLDER, REDBOXFOLDER, DATAFOLDER and LINK can be set";
    return ConfigSetResult::UnknownName;
}

}  // namespace ravo
