#pragma once
#include <string>
#include <vector>

#include "app/app_config.h"

namespace ravo {

// One stored configuration entry as the command line shows it.
struct ConfigEntry {
    std::string name;   // "KTLS/FWFOLDER"
    std::string value;  // as stored: texts as they are, booleans 0 or 1
};

// Every entry the configuration stores, in the order it saves them, with the
// values of `config`; UPDATEURL (read, never written) first.
std::vector<ConfigEntry> configEntries(const AppConfig& config);

// Results of setConfigEntry.
enum class ConfigSetResult { Changed, UnknownName, BadValue };

// Changes one of the entries a user may set by hand: the folders (FWFOLDER,
// DIVEFOLDER, REDBOXFOLDER, DATAFOLDER, made absolute) and the link address
// (LINK, checked by the link's own parser). `name` is the entry with or
// without its section ("LINK", "ktls/link"). On failure the reason is in `error`.
ConfigSetResult setConfigEntry(AppConfig& config, const std::string& name, const std::string& value,
                               std::string& error);

}  // namespace ravo
