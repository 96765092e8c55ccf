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

// A store that records what AppConfig::save writes, so the list follows
// save() without a copy of its entry names.
class ListingStore : public ConfigStore {
public:
    explicit ListingStore(std::vector<ConfigEntry>& entries) : entries_(entries) {}
    std::string readText(const std::string&, const std::string&, const std::string& def) override { return def; }
    int readInt(const std::string&, const std::string&, int def) override { return def; }
    void writeText(const std::string& section, const std::string& entry, const std::string& value) override
    {
        entries_.push_back({section + "/" + entry, value});
    }
    void writeInt(const std::string& section, const std::string& entry, int value) override
    {
        entries_.push_back({section + "/" + entry, std::to_string(value)});
    }

private:
    std::vector<ConfigEntry>& entries_;
};

}  // namespace

std::vector<ConfigEntry> configEntries(const AppConfig& config)
{
    std::vector<ConfigEntry> entries{{"KTLS/UPDATEURL", config.updateUrl}};
    ListingStore store(entries);
    config.save(store);
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
