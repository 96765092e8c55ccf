// The Windows configuration store: the registry, in the layout Qt's native
// settings use, so the desktop program and ravo-cli share one store.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/app_config.h"
#include "app/config_store.h"
#include "support/posix_facilities.h"

namespace {

using ravo::AppConfig;

struct RegistryValue {
    DWORD type = 0;
    std::string data;
};

RegistryValue rawValue(const std::string& key, const std::string& name)
{
    RegistryValue v;
    char buffer[1024];
    DWORD size = sizeof buffer;
    if (::RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &v.type, buffer,
                       &size) == ERROR_SUCCESS)
        v.data.assign(buffer, size);
    return v;
}

class RegistryStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = "Software\\Varnholm\\Ravo_Config_Test\\store-" + std::to_string(::GetCurrentProcessId());
        ravo::test::setEnv("RAVO_REGISTRY_KEY", root);
    }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, root.c_str()); }
    std::string root;
};

TEST_F(RegistryStore, OneKeyPerSectionIntegersAsDwordTextsAsStrings)
{
    {
        auto store = ravo::makeNativeConfigStore();
        AppConfig config;
        config.load(*store);
        config.setUnitNumberText("12ab");
        config.diveFolder = "C:\\Dives, old\\2014";
        config.viewLiters = false;
        config.save(*store);
    }
    RegistryValue unit = rawValue(root + "\\KTLS", "UNIT_NR");
    EXPECT_EQ(unit.type, DWORD(REG_SZ));
    EXPECT_EQ(unit.data, std::string("12AB\0", 5));
    RegistryValue metric = rawValue(root + "\\KTLS", "METRIC");
    ASSERT_EQ(metric.type, DWORD(REG_DWORD));
    EXPECT_EQ(metric.data, std::string("\x01\0\0\0", 4));
    RegistryValue liters = rawValue(root + "\\VIEW_SETTING", "LITERS");
    ASSERT_EQ(liters.type, DWORD(REG_DWORD));
    EXPECT_EQ(liters.data, std::string(4, '\0'));
    EXPECT_EQ(rawValue(root + "\\KTLS", "UPDATEURL").type, 0u) << "UPDATEURL is never written";

    auto store = ravo::makeNativeConfigStore();
    AppConfig again;
    again.load(*store);
    EXPECT_EQ(again.unitNumberText, "12AB");
    EXPECT_EQ(again.diveFolder, "C:\\Dives, old\\2014");
    EXPECT_FALSE(again.viewLiters);
    EXPECT_TRUE(again.metricDefault);
}

TEST_F(RegistryStore, MissingOrMistypedValuesKeepTheDefaults)
{
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, (root + "\\KTLS").c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                &key, nullptr),
              ERROR_SUCCESS);
    const BYTE blob[3] = {1, 2, 3};
    ::RegSetValueExA(key, "METRIC", 0, REG_BINARY, blob, sizeof blob);
    ::RegSetValueExA(key, "POINT", 0, REG_SZ, reinterpret_cast<const BYTE*>("0"), 2);  // as text: still read
    ::RegSetValueExA(key, "FWFOLDER", 0, REG_BINARY, blob, sizeof blob);
    ::RegCloseKey(key);

    auto store = ravo::makeNativeConfigStore();
    AppConfig defaults;
    AppConfig config;
    config.load(*store);
    EXPECT_TRUE(config.metricDefault);
    EXPECT_FALSE(config.decimalPoint);
    EXPECT_EQ(config.firmwareFolder, defaults.firmwareFolder);
    EXPECT_EQ(config.unitNumberText, "FFFF");
}

}  // namespace
