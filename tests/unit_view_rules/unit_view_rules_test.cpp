#include <gtest/gtest.h>

#include "app/app_config.h"
#include "app/unit_view_rules.h"
#include "jobs/unit_versions.h"
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

// The hint appears only for a unit known to wait in its bootloader.
TEST(UnitViewRules, AStoppedDownloadSaysHowToGoOnOnlyWhenTheUnitWaits)
{
    const std::string hint = "The unit waits in its bootloader: type BL in the unit number box and press FW "
                             "Download to send the firmware again.";
    EXPECT_EQ(firmwareEndHint(-2, true), "Download stopped. " + hint);
    EXPECT_EQ(firmwareEndHint(-6, true), "Download not finished. " + hint);
    EXPECT_EQ(firmwareEndHint(-10, true), "Download not finished. " + hint) << "stopped while it restarted";
    EXPECT_EQ(firmwareEndHint(0, true), "");
    EXPECT_EQ(firmwareEndHint(-6, false), "") << "a running unit that ignored the chunks";
    EXPECT_EQ(readInfoEndHint(-4, true), hint);
    EXPECT_EQ(readInfoEndHint(-4, false), "");
    EXPECT_EQ(readInfoEndHint(1, true), "");

    EXPECT_EQ(unitResultText("peer", "", ""), "peer");
    EXPECT_EQ(unitResultText("peer", "Link lost: unit 1234 did not answer", hint),
              "peer\nLink lost: unit 1234 did not answer\n" + hint);
    EXPECT_EQ(unitResultText("", "", hint), hint);
}

TEST(UnitViewRules, TheFirmwareQuestionNamesTheFileAndTheVersionRunning)
{
    UnitVersions versions;
    versions.mainVersion = 0x49;
    versions.betaNumber = 0x25;
    EXPECT_EQ(firmwareConfirmText("RAVO_4A01.enc", 0x1234, &versions, 2),
              "Send the firmware file RAVO_4A01.enc to unit 1234?\nThe unit runs software ver 49b25.\n"
              "During the download the unit waits in its bootloader; keep it in front of the port.");
    EXPECT_NE(firmwareConfirmText("a.enc", 0x1234, nullptr, 2).find("The unit's software version is not known"),
              std::string::npos);
    EXPECT_NE(firmwareConfirmText("a.enc", 0x1234, &versions, 3).find("The unit waits in its bootloader."),
              std::string::npos);
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
