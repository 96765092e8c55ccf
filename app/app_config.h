#pragma once
#include <string>
#include <vector>

#include "app/config_store.h"
#include "ravo_version.h"

namespace ravo {

// The program's name and version, compiled in.
inline constexpr char kProgramName[] = "Ravo_Config";
inline constexpr char kProgramVersion[] = RAVO_VERSION_TAG;
inline constexpr char kProgramBanner[] = RAVO_BANNER;

// One entry as the configuration stores it.
struct StoredEntry {
    const char* section;
    const char* name;
    bool integer;       // written as an integer (0/1), else as text
    std::string value;  // the text, or the integer in decimal
};

// The configuration record, loaded once at start-up and saved at shutdown.
// A save writes only the entries this program changed since it loaded them
// (and those the store lacks), so a change another program made meanwhile
// (`ravo-cli config set` during a download) is not reverted.
struct AppConfig {
    AppConfig();  // defaults; reads the working directory

    std::string startFolder;
    std::string dataFolder;
    std::string firmwareFolder;
    std::string diveFolder;
    std::string redboxFolder;
    std::string updateUrl;
    bool metricDefault = true;
    bool decimalPoint = true;
    std::string unitNumberText = "FFFF";
    int downloadMode = 0;
    bool serviceUnlocked = false;
    bool viewMeter = true;
    bool viewBar = true;
    bool viewCelsius = true;
    bool viewLiters = true;
    bool viewKg = true;
    // The program looks for a newer version of itself at start-up.
    bool checkForUpdates = true;
    // Where the link finds the unit (see link/link_address.h).
    std::string linkAddress;
    // The dive profile's optional curves the user switched on.
    bool graphTemperature = false;
    bool graphO2 = false;
    bool graphDil = false;

    void load(ConfigStore& store);
    // Writes the changed entries and flushes the store. False, with the
    // store's reason in `error`, when it cannot be written; the entries then
    // count as changed still.
    bool save(ConfigStore& store, std::string& error);
    bool save(ConfigStore& store)
    {
        std::string error;
        return save(store, error);
    }

    // Every entry save() may write, in its order, with this record's values.
    std::vector<StoredEntry> storedEntries() const;

    // Warnings of the last load, for the user: a folder entry stored empty
    // stands for the default folder.
    std::vector<std::string> loadWarnings;

    // Takes the text of the unit number box: "BL" chooses the download of a
    // unit waiting in its bootloader (number unchanged), a trailing "*" the
    // forced bootloader entry; otherwise the normal download.
    void setUnitNumberText(const std::string& text);
    uint16_t currentUnitNumber() const;

    // The unit that last answered a read, stored at once (LAST_UNIT) so the
    // unit number box opens on it next time; FFFF only before any unit answered.
    std::string lastUnitText;
    void rememberAnsweringUnit(ConfigStore& store, uint16_t unit);

private:
    std::vector<StoredEntry> saved_;  // the entries as loaded or last saved
};

}  // namespace ravo
