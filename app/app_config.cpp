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

void AppConfig::load(ConfigStore& store)
{
    updateUrl = store.readText(kKtls, "UPDATEURL", updateUrl);
    firmwareFolder = store.readText(kKtls, "FWFOLDER", firmwareFolder);
    diveFolder = store.readText(kKtls, "DIVEFOLDER", diveFolder);
    redboxFolder = store.readText(kKtls, "REDBOXFOLDER", redboxFolder);
    dataFolder = store.readText(kKtls, "DATAFOLDER", dataFolder);
    readBool(store, kKtls, "METRIC", metricDefault);
    readBool(store, kKtls, "POINT", decimalPoint);
    setUnitNumberText(store.readText(kKtls, "UNIT_NR", unitNumberText));
    readBool(store, kView, "METER", viewMeter);
    readBool(store, kView, "BAR", viewBar);
    readBool(store, kView, "CELCIUS", viewCelsius);
    readBool(store, kView, "LITERS", viewLiters);
    readBool(store, kView, "KG", viewKg);
    linkAddress = store.readText(kKtls, "LINK", linkAddress);
}

void AppConfig::save(ConfigStore& store) const
{
    store.writeText(kKtls, "FWFOLDER", firmwareFolder);
    store.writeText(kKtls, "DIVEFOLDER", diveFolder);
    store.writeText(kKtls, "REDBOXFOLDER", redboxFolder);
    store.writeText(kKtls, "DATAFOLDER", dataFolder);
    store.writeInt(kKtls, "METRIC", metricDefault ? 1 : 0);
    store.writeInt(kKtls, "POINT", decimalPoint ? 1 : 0);
    store.writeText(kKtls, "UNIT_NR", unitNumberText);
    store.writeInt(kView, "METER", viewMeter ? 1 : 0);
    store.writeInt(kView, "BAR", viewBar ? 1 : 0);
    store.writeInt(kView, "CELCIUS", viewCelsius ? 1 : 0);
    store.writeInt(kView, "LITERS", viewLiters ? 1 : 0);
    store.writeInt(kView, "KG", viewKg ? 1 : 0);
    store.writeText(kKtls, "LINK", linkAddress);
    store.flush();
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

uint16_t AppConfig::currentUnitNumber() const
{
    return parseUnitNumber(unitNumberText);
}

}  // namespace ravo
