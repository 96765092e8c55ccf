#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/app_config.h"
#include "app/config_store.h"
#include "firmware/file_util.h"
#include "jobs/job_codes.h"
#include "support/posix_facilities.h"
#include "support/temp_dir.h"

using ravo::AppConfig;
using ravo::MemoryConfigStore;

TEST(ConfigStore, MissingStoreGivesDefaultsAndFirstSaveWritesEveryEntryButTheUrl)
{
    MemoryConfigStore store;
    AppConfig config;
    const AppConfig defaults;
    config.load(store);
    EXPECT_EQ(config.firmwareFolder, ravo::joinFolder(defaults.startFolder, "firmware"));
    EXPECT_EQ(config.diveFolder, ravo::joinFolder(defaults.startFolder, "dive"));
    EXPECT_EQ(config.redboxFolder, ravo::joinFolder(defaults.startFolder, "redbox"));
    EXPECT_EQ(config.dataFolder, defaults.startFolder);
    EXPECT_EQ(config.unitNumberText, "FFFF");
    EXPECT_EQ(config.downloadMode, ravo::JOB_FIRMWARE) << "load passes UNIT_NR through the box rule";
    EXPECT_TRUE(config.metricDefault && config.decimalPoint && config.viewKg && config.viewMeter);
    EXPECT_FALSE(config.serviceUnlocked);
    EXPECT_EQ(config.updateUrl.substr(config.updateUrl.size() - 16), "/ravo_config.xml");

    config.save(store);
    for (const char* entry : {"FWFOLDER", "DIVEFOLDER", "REDBOXFOLDER", "DATAFOLDER", "METRIC", "POINT", "UNIT_NR", "LINK"})
        EXPECT_TRUE(store.has("KTLS", entry)) << entry;
    for (const char* entry : {"METER", "BAR", "CELCIUS", "LITERS", "KG"})
        EXPECT_TRUE(store.has("VIEW_SETTING", entry)) << entry;
    EXPECT_FALSE(store.has("KTLS", "UPDATEURL"));
    EXPECT_EQ(store.values["KTLS/METRIC"], "1");
}

TEST(ConfigStore, RoundTripAndStoredValues)
{
    MemoryConfigStore store;
    store.writeText("KTLS", "UPDATEURL", "http://127.0.0.1:1/ravo_config.xml");
    store.writeText("KTLS", "UNIT_NR", "BL");
    store.writeInt("KTLS", "METRIC", 7);
    store.writeInt("VIEW_SETTING", "KG", 0);
    store.writeText("VIEW_SETTING", "BAR", "garbage");
    store.writeText("KTLS", "LINK", "tcp:127.0.0.1:4711");

    AppConfig config;
    config.load(store);
    EXPECT_EQ(config.updateUrl, "http://127.0.0.1:1/ravo_config.xml");
    EXPECT_EQ(config.downloadMode, ravo::JOB_FIRMWARE_BL);
    EXPECT_EQ(config.unitNumberText, "FFFF") << "a stored BL keeps the default number";
    EXPECT_TRUE(config.metricDefault) << "any non-zero integer is true";
    EXPECT_FALSE(config.viewKg);
    EXPECT_TRUE(config.viewBar) << "an unreadable value keeps the default";
    EXPECT_EQ(config.linkAddress, "tcp:127.0.0.1:4711");

    config.diveFolder = "/data/dives";
    config.setUnitNumberText("00ab");
    EXPECT_FALSE(config.graphTemperature || config.graphO2 || config.graphDil) << "the dive graph's curves start off";
    config.graphDil = true;
    MemoryConfigStore again;
    config.save(again);
    EXPECT_EQ(again.values["VIEW_SETTING/GRAPH_DIL"], "1");
    AppConfig reloaded;
    reloaded.load(again);
    EXPECT_EQ(reloaded.diveFolder, "/data/dives");
    EXPECT_EQ(reloaded.unitNumberText, "00AB");
    EXPECT_FALSE(reloaded.viewKg);
    EXPECT_TRUE(reloaded.graphDil);
    EXPECT_FALSE(reloaded.graphO2);
}

// The native store on Linux: an INI file under $XDG_CONFIG_HOME. Each test
// case runs in its own process, so the variable is read afresh.
TEST(ConfigStore, NativeStoreWritesIntegersAndSurvivesGarbage)
{
    if (!ravo::test::havePosixFacilities())
        GTEST_SKIP() << "the INI file store is the Linux store; Windows keeps the registry (RegistryStore tests)";
    ravo::test::TempDir home;
    ravo::test::setEnv("XDG_CONFIG_HOME", home.path());
    const std::string file = home.path() + "/Varnholm/Ravo_Config.conf";
    {
        auto store = ravo::makeNativeConfigStore();
        AppConfig config;
        config.load(*store);
        config.setUnitNumberText("12ab");
        config.viewLiters = false;
        config.save(*store);
    }
    std::string text = ravo::test::readFile(file);
    EXPECT_NE(text.find("[KTLS]"), std::string::npos) << text;
    EXPECT_NE(text.find("[VIEW_SETTING]"), std::string::npos);
    EXPECT_NE(text.find("UNIT_NR=12AB"), std::string::npos);
    EXPECT_NE(text.find("METRIC=1"), std::string::npos);
    EXPECT_NE(text.find("LITERS=0"), std::string::npos);
    EXPECT_EQ(text.find("true"), std::string::npos) << "booleans are stored as 0 and 1";
    EXPECT_EQ(text.find("UPDATEURL"), std::string::npos);
    {
        auto store = ravo::makeNativeConfigStore();
        AppConfig config;
        config.load(*store);
        EXPECT_EQ(config.unitNumberText, "12AB");
        EXPECT_FALSE(config.viewLiters);
    }
    ravo::test::writeFile(file, std::string("\x01\x02[KTLS\nUNIT_NR\n=\n\xff\xfe garbage ]]]\n", 28));
    auto store = ravo::makeNativeConfigStore();
    AppConfig config;
    config.load(*store);
    EXPECT_EQ(config.unitNumberText, "FFFF");
    EXPECT_TRUE(config.viewLiters);
}

// Folder names come back exactly as they were saved: a comma (which the INI
// format reads as a list) and bytes that are not UTF-8 included. A value the
// store cannot give as text keeps the default.
TEST(ConfigStore, NativeStoreKeepsTextsExactly)
{
    if (!ravo::test::havePosixFacilities())
        GTEST_SKIP() << "the INI file store is the Linux store; Windows keeps the registry (RegistryStore tests)";
    ravo::test::TempDir home;
    ravo::test::setEnv("XDG_CONFIG_HOME", home.path());
    const std::string comma = "/data/dives, old,new";
    const std::string latin1 = std::string("/data/T\xf8rn\xe6s/redbox\xff.cvsr");
    const std::string quoted = "/data/\"x\"; y=1 \\z @ByteArray(q)";
    {
        auto store = ravo::makeNativeConfigStore();
        AppConfig config;
        config.diveFolder = comma;
        config.redboxFolder = latin1;
        config.firmwareFolder = quoted;
        config.dataFolder = "/data/\xc3\xa6\xc3\xb8";  // UTF-8 stays readable text
        config.save(*store);
    }
    {
        auto store = ravo::makeNativeConfigStore();
        AppConfig config;
        config.load(*store);
        EXPECT_EQ(config.diveFolder, comma);
        EXPECT_EQ(config.redboxFolder, latin1);
        EXPECT_EQ(config.firmwareFolder, quoted);
        EXPECT_EQ(config.dataFolder, "/data/\xc3\xa6\xc3\xb8");
    }
}

// Written by hand: a list reads back as the text that was typed; a value that
// is no text keeps the default.
TEST(ConfigStore, NativeStoreReadsHandWrittenValues)
{
    if (!ravo::test::havePosixFacilities())
        GTEST_SKIP() << "the INI file store is the Linux store; Windows keeps the registry (RegistryStore tests)";
    ravo::test::TempDir home;
    ravo::test::setEnv("XDG_CONFIG_HOME", home.path());
    const std::string file = home.path() + "/Varnholm/Ravo_Config.conf";
    std::filesystem::create_directories(home.path() + "/Varnholm");
    ravo::test::writeFile(file, "[KTLS]\nDIVEFOLDER=/a,b\nFWFOLDER=@Variant(\\0\\0\\0\\t\\0\\0\\0\\0)\n");
    auto store = ravo::makeNativeConfigStore();
    EXPECT_EQ(store->readText("KTLS", "DIVEFOLDER", "default"), "/a,b");
    EXPECT_EQ(store->readText("KTLS", "FWFOLDER", "default"), "default");
}

// Two programs share the store: the one that changed nothing of an entry
// leaves another's change of it alone when it saves at its end.
TEST(ConfigStore, ASaveWritesOnlyWhatThisProgramChanged)
{
    if (!ravo::test::havePosixFacilities())
        GTEST_SKIP() << "the INI file store is the Linux store; Windows keeps the registry (RegistryStore tests)";
    ravo::test::TempDir home;
    ravo::test::setEnv("XDG_CONFIG_HOME", home.path());
    auto firstStore = ravo::makeNativeConfigStore();
    AppConfig first;
    first.load(*firstStore);
    ASSERT_TRUE(first.save(*firstStore));

    auto otherStore = ravo::makeNativeConfigStore();
    AppConfig other;
    other.load(*otherStore);
    other.diveFolder = "/set/meanwhile";
    ASSERT_TRUE(other.save(*otherStore));

    first.setUnitNumberText("00ab");
    ASSERT_TRUE(first.save(*firstStore));
    auto check = ravo::makeNativeConfigStore();
    AppConfig reloaded;
    reloaded.load(*check);
    EXPECT_EQ(reloaded.diveFolder, "/set/meanwhile");
    EXPECT_EQ(reloaded.unitNumberText, "00AB");
}

TEST(ConfigStore, AStoreThatCannotBeWrittenSaysWhy)
{
    if (!ravo::test::havePosixFacilities())
        GTEST_SKIP() << "the INI file store is the Linux store; Windows keeps the registry (RegistryStore tests)";
    ravo::test::TempDir home;
    ravo::test::setEnv("XDG_CONFIG_HOME", home.path());
    std::filesystem::create_directories(home.path() + "/Varnholm/Ravo_Config.conf");
    auto store = ravo::makeNativeConfigStore();
    AppConfig config;
    config.load(*store);
    config.diveFolder = "/lost/unless/told";
    std::string error;
    EXPECT_FALSE(config.save(*store, error));
    EXPECT_EQ(error, "Can not write the configuration store " + home.path() +
                         "/Varnholm/Ravo_Config.conf (it is a folder)");
}

// A folder entry stored empty would send every file to the current folder.
TEST(ConfigStore, AnEmptyFolderEntryMeansTheDefault)
{
    MemoryConfigStore store;
    store.writeText("KTLS", "DIVEFOLDER", "");
    store.writeText("KTLS", "FWFOLDER", "  ");
    store.writeText("KTLS", "DATAFOLDER", "/kept");
    AppConfig config;
    const AppConfig defaults;
    config.load(store);
    EXPECT_EQ(config.diveFolder, defaults.diveFolder);
    EXPECT_EQ(config.firmwareFolder, defaults.firmwareFolder);
    EXPECT_EQ(config.dataFolder, "/kept");
    EXPECT_EQ(config.loadWarnings,
              (std::vector<std::string>{"Warning: the stored FWFOLDER is empty; using " + defaults.firmwareFolder,
                                        "Warning: the stored DIVEFOLDER is empty; using " + defaults.diveFolder}));
}
