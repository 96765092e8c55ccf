#pragma once
#include <optional>
#include <string>

#include "app/app_config.h"
#include "jobs/unit_versions.h"

namespace ravo {

// What the Preferences dialog edits: the folders, the link address and the
// update check at start-up.
struct Preferences {
    std::string diveFolder;
    std::string redboxFolder;
    std::string firmwareFolder;
    std::string linkAddress;
    bool checkForUpdates = true;
};

Preferences preferencesOf(const AppConfig& config);

// Takes all of `preferences` into `config`, or nothing: a folder left empty
// or a link address the link cannot use is refused, with the entry's name and
// the reason in `error`. Folders are made absolute.
bool applyPreferences(AppConfig& config, const Preferences& preferences, std::string& error);

// The answer of "Test link": the unit's software when it answered, else why
// not, in the words of the job's last status line.
std::string linkTestText(int code, const std::optional<UnitVersions>& versions, const std::string& lastStatus);

}  // namespace ravo
