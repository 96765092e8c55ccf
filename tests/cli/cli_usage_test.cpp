// Usage errors, warnings and reasons on standard error, the closed pipe,
// config and presets: ravo-cli as a new user meets it.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_run.h"
#include "support/posix_facilities.h"
#include "support/tcp_peer.h"

namespace ravo::test {
namespace {

TEST(CliUsage, MalformedLinkAddressesAreUsageErrorsWithTheParsersReason)
{
    CliHome cli;
    writeFile(cli.home.file("broken.json"), "{\"preset\": ");
    const struct {
        std::string link;
        std::string reason;
    } cases[] = {
        {"tcp:127.0.0.1", "tcp needs HOST:PORT"},
        {"bogus", "unknown kind 'bogus'"},
        {"sim:nosuch", "Unknown simulated unit 'nosuch'"},
        {"sim:" + cli.home.file("broken.json"), "Scenario"},
    };
    for (const auto& c : cases) {
        ProgramResult r = cli.run({"--link", c.link, "info"});
        EXPECT_EQ(r.exitCode, 2) << c.link;
        EXPECT_TRUE(contains(r.err, "--link " + c.link + ": ")) << r.err;
        EXPECT_TRUE(contains(r.err, c.reason)) << r.err;
        EXPECT_EQ(r.out, "") << c.link;
    }
}

TEST(CliUsage, ARefusingPeerIsNamedOnStandardErrorWhileTheStatusLineKeepsItsWording)
{
    CliHome cli;
    const std::string link = "tcp:127.0.0.1:" + std::to_string(unusedPort());
    ProgramResult r = cli.run({"--link", link, "info"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "Can not find any IrDA unit. Please check that unit is on.\n");
    EXPECT_TRUE(contains(r.err, "Link " + link + ": Connection refused")) << r.err;
}

TEST(CliUsage, UnitTextReadAsAnotherNumberIsWarnedAboutAndUsed)
{
    CliHome cli;
    const struct {
        const char* typed;
        const char* used;
    } warned[] = {{"XYZ", "FFFF"}, {"0000", "FFFF"}, {"12345", "1234"}, {"0x1234", "0012"}};
    for (const auto& c : warned) {
        ProgramResult r = cli.run({"--link", "sim", "--unit", c.typed, "dives"});
        EXPECT_TRUE(contains(r.err, std::string("--unit \"") + c.typed + "\"")) << r.err;
        EXPECT_TRUE(contains(r.err, std::string("using unit number ") + c.used)) << r.err;
        EXPECT_TRUE(contains(r.out, std::string("Connect to unit ") + c.used)) << r.out;
    }
    for (const char* exact : {"1234", " 12ab ", "ffff", "12*", "BL"}) {
        ProgramResult r = cli.run({"--link", "sim", "--unit", exact, "saved"});
        EXPECT_FALSE(contains(r.err, "Warning")) << exact << ": " << r.err;
    }
}

TEST(CliUsage, ServiceOptionsNeedTheCodeAndAMissingManifestIsSaidSo)
{
    CliHome cli;
    EXPECT_EQ(cli.run({"--service-cdata", "4142", "saved"}).exitCode, 2);
    EXPECT_EQ(cli.run({"--manifest", cli.home.file("m.xml"), "saved"}).exitCode, 2);

    // No manifest at the update address: nothing to check the code against.
    presetCliStore(cli.home, "KTLS", "UPDATEURL",
                   "http://127.0.0.1:" + std::to_string(unusedPort()) + "/ravo_config.xml");
    ProgramResult r = cli.run({"--service-code", "1234", "saved"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(contains(r.err, "No update manifest could be read from http://127.0.0.1:")) << r.err;
    EXPECT_FALSE(contains(r.err, "not accepted")) << r.err;

    ProgramResult file = cli.run({"--service-code", "1234", "--manifest", "missing.xml", "saved"});
    EXPECT_TRUE(contains(file.err, "Can not read the manifest file " + cli.home.file("missing.xml"))) << file.err;
    EXPECT_FALSE(contains(file.err, "not accepted")) << file.err;
}

TEST(CliUsage, AClosedPipeEndsTheRunQuietlyWithStatusZero)
{
    if (!havePosixFacilities())
        GTEST_SKIP() << "needs a shell pipeline and SIGPIPE, which Windows lacks";
    CliHome cli;
    auto shell = [&cli](const std::string& line) {
        return runProgram("/bin/bash", {"-c", line}, {{"XDG_CONFIG_HOME", cli.home.path()}, {"HOME", cli.home.path()}},
                          cli.home.path());
    };
    const std::string ravoCli = std::string(RAVO_CLI_PATH) + " --link sim --unit 1234 ";
    ProgramResult head = shell(ravoCli + "info | head -2; echo \"status ${PIPESTATUS[0]}\"");
    EXPECT_EQ(head.out, "Connect to unit 1234 [Simulated unit (00-00-00-01)]\nRead software versions\nstatus 0\n");
    EXPECT_EQ(head.err, "");

    // The reader is gone before the first line is written.
    ProgramResult closed = shell("(sleep 0.2; exec " + ravoCli + "dive 0) | true; echo \"status ${PIPESTATUS[0]}\"");
    EXPECT_EQ(closed.out, "status 0\n");
    EXPECT_FALSE(contains(closed.err, "rror")) << closed.err;
}

TEST(CliConfig, PrintsTheEntriesAndWhereTheStoreLivesAndSetsFoldersAndTheLink)
{
    CliHome cli;
    ProgramResult shown = cli.run({"config"});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_TRUE(contains(shown.out, "Store\t" + cliStoreLocation(cli.home) + "\n")) << shown.out;
    EXPECT_TRUE(contains(shown.out, "KTLS/DIVEFOLDER\t" + cli.home.file("dive") + "\n")) << shown.out;
    EXPECT_TRUE(contains(shown.out, "KTLS/UPDATEURL\t")) << shown.out;

    ProgramResult set = cli.run({"config", "set", "divefolder", "logs"});
    ASSERT_EQ(set.exitCode, 0) << set.err;
    EXPECT_EQ(set.out, "KTLS/DIVEFOLDER\t" + cli.home.file("logs") + "\n");
    EXPECT_TRUE(contains(cli.store(), "DIVEFOLDER=" + cli.home.file("logs")));
    EXPECT_TRUE(contains(cli.run({"config"}).out, "KTLS/DIVEFOLDER\t" + cli.home.file("logs") + "\n"));

    ASSERT_EQ(cli.run({"config", "set", "LINK", "sim:fw4700"}).exitCode, 0);
    EXPECT_TRUE(contains(cli.run({"--unit", "1234", "connect"}).out, "Software\t47")) << "the stored link is used";

    ProgramResult unknown = cli.run({"config", "set", "UNIT_NR", "1234"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(contains(unknown.err, "Unknown entry \"UNIT_NR\"")) << unknown.err;
    ProgramResult badLink = cli.run({"config", "set", "LINK", "tcp:nowhere"});
    EXPECT_EQ(badLink.exitCode, 2);
    EXPECT_TRUE(contains(badLink.err, "tcp needs HOST:PORT")) << badLink.err;
    EXPECT_TRUE(contains(cli.store(), "LINK=sim:fw4700"));
}

#ifdef RAVO_SIM_PATH
TEST(CliPresets, PrintsTheSimulatorsOwnTable)
{
    CliHome cli;
    ProgramResult cliTable = cli.run({"presets"});
    ProgramResult simTable = runProgram(RAVO_SIM_PATH, {"--list-presets"});
    ASSERT_EQ(cliTable.exitCode, 0);
    EXPECT_EQ(cliTable.out, simTable.out);
    EXPECT_TRUE(contains(cliTable.out, "long-dive")) << cliTable.out;
}
#endif

}  // namespace
}  // namespace ravo::test
