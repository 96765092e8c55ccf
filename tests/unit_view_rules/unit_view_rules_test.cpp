#include <gtest/gtest.h>

#include "app/app_config.h"
#include "app/unit_view_rules.h"
#include "support/temp_dir.h"

#include <filesystem>

namespace ravo::test {
namespace {

TEST(UnitViewRules, EnablingFollowsIdleConnectedAndALostNumber)
{
    UnitViewEnabling idleConnected = unitViewEnabling(true, true, 0x1234);
    EXPECT_TRUE(idleConnected.readInfo && idleConnected.unitNumberBox && idleConnected.firmwareList &&
                idleConnected.firmwareDownload && idleConnected.fixSerial && idleConnected.powerDown);
    EXPECT_FALSE(idleConnected.cancel);
    EXPECT_FALSE(idleConnected.fixSerialVisible);

    UnitViewEnabling idleOffline = unitViewEnabling(true, false, 0xFFFF);
    EXPECT_TRUE(idleOffline.readInfo);
    EXPECT_FALSE(idleOffline.powerDown);
    EXPECT_FALSE(idleOffline.fixSerialVisible);

    UnitViewEnabling busy = unitViewEnabling(false, true, 0xFFFF);
    EXPECT_FALSE(busy.readInfo || busy.unitNumberBox || busy.firmwareList || busy.firmwareDownload ||
                 busy.fixSerial || busy.powerDown);
    EXPECT_TRUE(busy.cancel);
    EXPECT_TRUE(busy.fixSerialVisible);
}

TEST(UnitViewRules, TheBoxShowsTheNumberAfterAModeWasTyped)
{
    AppConfig config;
    config.unitNumberText = "1A2B";
    EXPECT_EQ(synchroniseUnitNumber(config, " bl "), "1A2B");
    EXPECT_EQ(config.downloadMode, 3);
    EXPECT_EQ(synchroniseUnitNumber(config, "12*"), "0012");
    EXPECT_EQ(config.downloadMode, 4);
    EXPECT_EQ(synchroniseUnitNumber(config, "abcd"), "ABCD");
    EXPECT_EQ(config.downloadMode, 2);
}

TEST(UnitViewRules, AStoppedDownloadSaysHowToGoOn)
{
    const std::string hint = "The unit waits in its bootloader: type BL in the unit number box and press FW "
                             "Download to send the firmware again.";
    EXPECT_EQ(unitResultText("peer", 2, -2), "peer\nDownload stopped. " + hint);
    EXPECT_EQ(unitResultText("peer", 3, -6), "peer\nDownload not finished. " + hint);
    EXPECT_EQ(unitResultText("peer", 2, 0), "peer");
    EXPECT_EQ(unitResultText("peer", 2, -10), "peer");  // ended before the bootloader
    EXPECT_EQ(unitResultText("peer", 1, -2), "peer");
}

TEST(UnitViewRules, FirmwareRequestChecksTheChosenFile)
{
    TempDir dir;
    FirmwareFileList listing{dir.path(), {"A.enc", "B.enc", "Empty.enc", "Folder.enc"}};
    writeFile(dir.file("A.enc"), "0001AA\n");
    writeFile(dir.file("Empty.enc"), "");
    std::filesystem::create_directory(dir.file("Folder.enc"));

    FirmwarePress ok = firmwareRequestFor(listing, " A.enc ");
    EXPECT_EQ(ok.action, FirmwarePress::Request);
    EXPECT_EQ(ok.path, dir.file("A.enc"));
    for (const char* name : {"B.enc", kNoFirmwareFile}) {
        FirmwarePress refused = firmwareRequestFor(listing, name);
        EXPECT_EQ(refused.action, FirmwarePress::NotFound) << name;
        EXPECT_EQ(refused.statusText, std::string("File [") + name + "] not found");
    }
    // Found, but no firmware: the reason is named.
    for (const char* name : {"Empty.enc", "Folder.enc"}) {
        FirmwarePress refused = firmwareRequestFor(listing, name);
        EXPECT_EQ(refused.action, FirmwarePress::NotFound) << name;
        EXPECT_EQ(refused.statusText.rfind(std::string("Firmware file [") + name + "] refused: ", 0), 0u)
            << refused.statusText;
    }
    EXPECT_EQ(firmwareRequestFor(listing, "  ").action, FirmwarePress::Nothing);

    FirmwareChoice none = firmwareChoiceFor(FirmwareFileList{dir.path(), {}}, "A");
    EXPECT_EQ(none.entries, (std::vector<std::string>{"<no file avalible>"}));
    EXPECT_FALSE(none.filesFound);
    FirmwareChoice kept = firmwareChoiceFor(listing, "a.enc");
    EXPECT_EQ(kept.selected, 0);
    EXPECT_EQ(firmwareChoiceFor(listing, "").selected, 3);
}

}  // namespace
}  // namespace ravo::test
