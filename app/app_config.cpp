#include "app/app_config.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "firmware/file_util.h"
#include "jobs/job_codes.h"
#include "link/link_address.h"
#include "link/unit_number.h"

namespace ravo {
namespace {

const char kKtls[] = "KTLS";
const char kView[] = "VIEW_SETTING";
const char kLastUnitEntry[] = "LAST_UNIT";

bool folderReadable(const std::filesystem::path& folder)
{
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    return !ec;
}

std::string homeFolder()
{
#ifdef _WIN32
    const char* home = std::getenv("USERPROFILE");
#else
    const char* home = std::getenv("HOME");
#endif
    if (home && *home && folderReadable(home))
        return home;
    std::error_code ec;
    return std::filesystem::temp_directory_path(ec).string();
}

// The folder the program was started in. When it cannot be read (it was
// deleted, or is not ours), the folders below it would land in the file
// system root: the user's home folder stands in, and the user is told.
std::string startFolderOrHome()
{
    std::error_code ec;
    std::filesystem::path cwd = std::filesystem::current_path(ec);
    std::string path = ec ? std::string() : cwd.string();
    if (path.empty() || !folderReadable(cwd)) {
        path = homeFolder();
        std::fprintf(stderr, "The start folder cannot be read; using %s instead.\n", path.c_str());
    }
    if (path.size() > 1022)
        path.resize(1022);
    return path;
}

void readBool(ConfigStore& store, const char* section, const char* entry, bool& field)
{
    field = store.readInt(section, entry, field ? 1 : 0) != 0;
}

}  // namespace

AppConfig::AppConfig()
    : startFolder(startFolderOrHome()),
      dataFolder(startFolder),
      firmwareFolder(joinFolder(startFolder, "firmware")),
      diveFolder(joinFolder(startFolder, "dive")),
      redboxFolder(joinFolder(startFolder, "redbox")),
      updateUrl("https://updates.varnholm.example/ravo_config.xml"),
      linkAddress(defaultLinkAddress())
{
}

namespace {

// A folder entry stored empty (or blank) would send files to the current
// folder: the default folder is used, and the user is told.
void readFolder(ConfigStore& store, const char* entry, std::string& field, std::vector<std::string>& warnings)
{
    std::string text = store.readText(kKtls, entry, field);
    if (trimmed(text).empty()) {
        warnings.push_back(std::string("Warning: the stored ") + entry + " is empty; using " + field);
        return;
    }
    field = text;
}

}  // namespace

void AppConfig::load(ConfigStore& store)
{
    loadWarnings.clear();
    updateUrl = store.readText(kKtls, "UPDATEURL", updateUrl);
    readFolder(store, "FWFOLDER", firmwareFolder, loadWarnings);
    readFolder(store, "DIVEFOLDER", diveFolder, loadWarnings);
    redboxFolder = store.readText(kKtls, "REDBOXFOLDER", redboxFolder);
    readFolder(store, "DATAFOLDER", dataFolder, loadWarnings);
    readBool(store, kKtls, "METRIC", metricDefault);
    readBool(store, kKtls, "POINT", decimalPoint);
    setUnitNumberText(store.readText(kKtls, "UNIT_NR", unitNumberText));
    lastUnitText = trimmed(store.readText(kKtls, kLastUnitEntry, ""));
    // The number only: a download mode chosen in the box ("BL") stays.
    if (!lastUnitText.empty())
        unitNumberText = formatUnitNumber(parseUnitNumber(lastUnitText));
    readBool(store, kView, "METER", viewMeter);
    readBool(store, kView, "BAR", viewBar);
    readBool(store, kView, "CELCIUS", viewCelsius);
    readBool(store, kView, "LITERS", viewLiters);
    readBool(store, kView, "KG", viewKg);
    linkAddress = store.readText(kKtls, "LINK", linkAddress);
    readBool(store, kKtls, "UPDATECHECK", checkForUpdates);
    readBool(store, kView, "GRAPH_TEMP", graphTemperature);
    readBool(store, kView, "GRAPH_O2", graphO2);
    readBool(store, kView, "GRAPH_DIL", graphDil);
    saved_ = storedEntries();
}

std::vector<StoredEntry> AppConfig::storedEntries() const
{
    auto text = [](const char* section, const char* name, const std::string& value) {
        return StoredEntry{section, name, false, value};
    };
    auto flag = [](const char* section, const char* name, bool value) {
        return StoredEntry{section, name, true, value ? "1" : "0"};
    };
    return {
        text(kKtls, "FWFOLDER", firmwareFolder),
        text(kKtls, "DIVEFOLDER", diveFolder),
        text(kKtls, "REDBOXFOLDER", redboxFolder),
        text(kKtls, "DATAFOLDER", dataFolder),
        flag(kKtls, "METRIC", metricDefault),
        flag(kKtls, "POINT", decimalPoint),
        text(kKtls, "UNIT_NR", unitNumberText),
        flag(kView, "METER", viewMeter),
        flag(kView, "BAR", viewBar),
        flag(kView, "CELCIUS", viewCelsius),
        flag(kView, "LITERS", viewLiters),
        flag(kView, "KG", viewKg),
        text(kKtls, "LINK", linkAddress),
        flag(kKtls, "UPDATECHECK", checkForUpdates),
        flag(kView, "GRAPH_TEMP", graphTemperature),
        flag(kView, "GRAPH_O2", graphO2),
        flag(kView, "GRAPH_DIL", graphDil),
    };
}

bool AppConfig::save(ConfigStore& store, std::string& error)
{
    // Take in what other programs wrote since the load, then write over it
    // only what this program changed.
    std::string ignored;
    store.flush(ignored);
    const std::vector<StoredEntry> now = storedEntries();
    for (size_t i = 0; i < now.size(); ++i) {
        const StoredEntry& entry = now[i];
        const bool changed = i >= saved_.size() || saved_[i].value != entry.value;
        if (!changed && store.contains(entry.section, entry.name))
            continue;
        if (entry.integer)
            store.writeInt(entry.section, entry.name, entry.value == "1" ? 1 : 0);
        else
            store.writeText(entry.section, entry.name, entry.value);
    }
    if (!store.flush(error))
        return false;
    saved_ = now;
    return true;
}

void AppConfig::setUnitNumberText(const std::string& text)
{
    downloadMode = JOB_FIRMWARE;
    std::string copy = trimmed(text);
    for (char& c : copy)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    if (copy == "BL") {
        downloadMode = JOB_FIRMWARE_BL;
        return;
    }
    if (!copy.empty() && copy.back() == '*')
        downloadMode = JOB_FIRMWARE_FORCE;
    unitNumberText = formatUnitNumber(parseUnitNumber(copy));
}

void AppConfig::rememberAnsweringUnit(ConfigStore& store, uint16_t unit)
{
    const std::string text = formatUnitNumber(unit);
    if (text == lastUnitText)
        return;
    lastUnitText = text;
    // Written now, not at shutdown: a program that ends without closing its
    // window still opens on this unit.
    store.writeText(kKtls, kLastUnitEntry, text);
    std::string ignored;
    store.flush(ignored);
}

uint16_t AppConfig::currentUnitNumber() const
{
    return parseUnitNumber(unitNumberText);
}

}  // namespace ravo
