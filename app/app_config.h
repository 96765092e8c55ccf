#pragma once
#include <string>

#include "app/config_store.h"
#include "ravo_version.h"

namespace ravo {

// The program's name and version, compiled in.
inline constexpr char kProgramName[] = "Ravo_Config";
inline constexpr char kProgramVersion[] = RAVO_VERSION_TAG;
inline constexpr char kProgramBanner[] = RAVO_BANNER;

// The configuration record, loaded once at start-up and saved once at shutdown.
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
    // Where the link finds the unit (see link/link_address.h).
    std::string linkAddress;

    void load(ConfigStore& store);
    void save(ConfigStore& store) const;

    // Takes the text of the unit number box: "BL" chooses the download of a
    // unit waiting in its bootloader (number unchanged), a trailing "*" the
    // forced bootloader entry; otherwise the normal download.
    void setUnitNumberText(const std::string& text);
    uint16_t currentUnitNumber() const;
};

}  // namespace ravo
