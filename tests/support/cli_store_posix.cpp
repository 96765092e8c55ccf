#include <filesystem>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace ravo::test {
namespace {

std::string storeFile(const TempDir& home)
{
    return home.path() + "/Varnholm/Ravo_Config.conf";
}

}  // namespace

std::string cliStoreLocation(const TempDir& home)
{
    return storeFile(home);
}

std::string cliStoreText(const TempDir& home)
{
    return readFile(storeFile(home));
}

void presetCliStore(const TempDir& home, const std::string& section, const std::string& entry,
                    const std::string& value)
{
    std::filesystem::create_directories(home.path() + "/Varnholm");
    writeFile(storeFile(home), readFile(storeFile(home)) + "[" + section + "]\n" + entry + "=" + value + "\n");
}

}  // namespace ravo::test
