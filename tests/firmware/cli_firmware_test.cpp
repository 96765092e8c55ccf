#include <gtest/gtest.h>

#include <filesystem>

#include "firmware/file_util.h"
#include "app/app_config.h"
#include "bootloader_peer.h"
#include "support/http_server.h"
#include "support/run_program.h"
#include "support/tcp_peer.h"
#include "support/temp_dir.h"

namespace ravo {
namespace {

using test::runProgram;

// ravo-cli in a folder of its own, with a store of its own; its pauses run 50
// times faster, the unit's answers are waited for in real time.
struct CliRun {
    test::TempDir home;
    test::ProgramResult run(const std::vector<std::string>& args)
    {
        return test::runCliIn(home, args, {{"RAVO_PAUSE_SCALE", "50"}});
    }
    std::string log() const { return test::readFile(home.file("loggfile.txt")); }
    std::string firmware(const std::string& name) const
    {
        std::filesystem::create_directories(home.file("firmware"));
        return ravo::joinFolder(home.file("firmware"), name);
    }
};

TEST(CliFirmwareList, ListsTheFolderWithTheDefaultMarked)
{
    CliRun cli;
    auto empty = cli.run({"firmware", "list"});
    EXPECT_EQ(empty.exitCode, 0) << empty.err;
    EXPECT_EQ(empty.out, "<no file avalible>\n");
    EXPECT_TRUE(std::filesystem::is_directory(cli.home.path() + "/firmware"));

    test::writeFile(cli.firmware("B.enc"), "00");
    test::writeFile(cli.firmware("A.enc"), "00");
    test::writeFile(cli.firmware("readme.txt"), "x");
    auto listed = cli.run({"firmware", "list"});
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.out, "  A.enc\n* B.enc\n");
}

TEST(CliFirmwareFlash, BootloaderDownloadWritesLinesLogAndProgress)
{
    test::ScriptedBootloader peer([](int) { return std::vector<uint8_t>{0x11}; });
    CliRun cli;
    test::writeFile(cli.firmware("new.enc"), "0002AABB0001CC");
    auto run = cli.run({"--link", peer.address(), "--unit", "bl", "firmware", "flash", "new.enc"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    std::string path = cli.firmware("new.enc");
    EXPECT_EQ(run.out.rfind("Firmware download BL [" + path + "]\nConnect to unit FFFF [", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("\nDownload firmware 57% ("), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\nDownload firmware 100% ("), std::string::npos);
    EXPECT_NE(run.out.find("\nDone..\n"), std::string::npos);
    EXPECT_NE(run.err.find("100%"), std::string::npos);
    EXPECT_NE(cli.log().find(" : Firmware download BL FFFF : " + path + "\r\n"), std::string::npos) << cli.log();
    ASSERT_EQ(peer.chunks().size(), 2u);
}

TEST(CliFirmwareFlash, FailedDownloadExitsWithOne)
{
    test::ScriptedBootloader peer([](int) { return std::vector<uint8_t>{0x44}; });
    CliRun cli;
    test::writeFile(cli.home.file("x.enc"), "0001AA");
    auto run = cli.run({"--link", peer.address(), "--unit", "BL", "firmware", "flash", cli.home.file("x.enc")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("Remote unit reported an error in chunk 1\n"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("Done.."), std::string::npos);
}

TEST(CliFirmwareFlash, MissingFileStartsNothing)
{
    test::TcpPeer peer;
    CliRun cli;
    auto run = cli.run({"--link", "tcp:127.0.0.1:" + std::to_string(peer.port()), "firmware", "flash", "none.enc"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "File [" + cli.home.file("none.enc") + "] not found\n");
    EXPECT_EQ(peer.accepted(), 0);
    auto usage = cli.run({"firmware", "flash"});
    EXPECT_EQ(usage.exitCode, 2);
}

TEST(CliFixSerial, RefusedUnlessTheUnitIsFFFF)
{
    test::TcpPeer peer;
    CliRun cli;
    auto run = cli.run({"--link", "tcp:127.0.0.1:" + std::to_string(peer.port()), "--unit", "1234", "fix-serial"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "Please enter FFFF in serial number field\n");
    EXPECT_NE(cli.log().find(" : UNIT_CMD_FIX_LOST_SR 1234 - error, serial number is not FFFF\r\n"), std::string::npos);
    EXPECT_EQ(peer.accepted(), 0);
}

TEST(CliCheckUpdate, ReportsThePublishedVersion)
{
    test::HttpServer server;
    test::HttpRoute manifest;
    manifest.body =
        "<ravo><ravo_config><win><file>https://updates.varnholm.example/Ravo_Config_136.exe</file>"
        "<version><string>v1.36</string></version></win></ravo_config></ravo>";
    server.route("/ravo_config.xml", manifest);
    test::HttpRoute unsafe;
    unsafe.body = "<ravo><ravo_config><win><file>file:///C:/x.exe</file>"
                  "<version><string>v1.35</string></version></win></ravo_config></ravo>";
    server.route("/unsafe.xml", unsafe);
    CliRun cli;
    auto newer = cli.run({"check-update", "--url", server.url("/ravo_config.xml")});
    EXPECT_EQ(newer.exitCode, 0) << newer.err;
    EXPECT_EQ(newer.out,
              "Published version: v1.36\nNewer than v1.35: yes\n"
              "Download location: https://updates.varnholm.example/Ravo_Config_136.exe\n");
    EXPECT_EQ(server.lastUserAgent(), "Get Server Info");

    auto same = cli.run({"check-update", "--url", server.url("/unsafe.xml")});
    EXPECT_EQ(same.exitCode, 0);
    EXPECT_EQ(same.out, "Published version: v1.35\nNewer than v1.35: no\nDownload location: file:///C:/x.exe\n");
    EXPECT_NE(same.err.find("not a web address"), std::string::npos);

    auto missing = cli.run({"check-update", "--url", server.url("/nothing.xml")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("/nothing.xml: HTTP status 404"), std::string::npos) << missing.err;

    auto refused = cli.run({"check-update", "--url", "ftp://127.0.0.1/ravo_config.xml"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("Only http and https addresses are fetched"), std::string::npos) << refused.err;
}

}  // namespace
}  // namespace ravo
