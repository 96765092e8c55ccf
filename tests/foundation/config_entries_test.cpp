#include <gtest/gtest.h>

#include "app/config_entries.h"
#include "firmware/file_util.h"

namespace ravo {
namespace {

std::string valueOf(const AppConfig& config, const std::string& name)
{
    for (const ConfigEntry& entry : configEntries(config))
        if (entry.name == name)
            return entry.value;
    return "<missing>";
}

TEST(ConfigEntries, ListsWhatIsStoredAndSetsOnlyFoldersAndTheLink)
{
    AppConfig config;
    config.metricDefault = false;
    EXPECT_EQ(valueOf(config, "KTLS/UPDATEURL"), config.updateUrl);
    EXPECT_EQ(valueOf(config, "KTLS/METRIC"), "0");
    EXPECT_EQ(valueOf(config, "VIEW_SETTING/CELCIUS"), "1");
    EXPECT_EQ(valueOf(config, "KTLS/LINK"), config.linkAddress);

    std::string error;
    EXPECT_EQ(setConfigEntry(config, "ktls/fwfolder", "/opt/fw/../firmware", error), ConfigSetResult::Changed);
    EXPECT_EQ(config.firmwareFolder, absolutePath("/opt/firmware"));
    EXPECT_EQ(setConfigEntry(config, "LINK", "tcp:127.0.0.1:4711", error), ConfigSetResult::Changed);
    EXPECT_EQ(config.linkAddress, "tcp:127.0.0.1:4711");

    EXPECT_EQ(setConfigEntry(config, "LINK", "tcp:127.0.0.1", error), ConfigSetResult::BadValue);
    EXPECT_EQ(config.linkAddress, "tcp:127.0.0.1:4711");
    EXPECT_EQ(setConfigEntry(config, "METRIC", "0", error), ConfigSetResult::UnknownName);
    EXPECT_EQ(setConfigEntry(config, "DIVEFOLDER", "", error), ConfigSetResult::BadValue);
}

}  // namespace
}  // namespace ravo
