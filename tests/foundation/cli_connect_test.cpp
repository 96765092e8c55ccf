#include <gtest/gtest.h>

#include "support/run_program.h"
#include "support/sim_process.h"
#include "support/tcp_peer.h"
#include "support/temp_dir.h"

using ravo::test::runProgram;

namespace {

// ravo-cli in a folder of its own, with a store of its own. Where the unit
// answers, its answers are waited for in real time and only the pauses run 50
// times faster; where it does not, all waits run 50 times faster.
struct CliRun {
    ravo::test::TempDir home;
    ravo::test::ProgramResult run(const std::vector<std::string>& args)
    {
        return ravo::test::runCliIn(home, args, {{"RAVO_TIME_SCALE", "50"}});
    }
    ravo::test::ProgramResult runAnswered(const std::vector<std::string>& args)
    {
        return ravo::test::runCliIn(home, args, {{"RAVO_PAUSE_SCALE", "50"}});
    }
    std::string store() const { return ravo::test::cliStoreText(home); }
};

}  // namespace

#ifdef RAVO_SIM_PATH
TEST(CliConnect, ConnectsToAnAnsweringUnitAndFailsWithoutOne)
{
    ravo::test::SimProcess unit(RAVO_SIM_PATH, {"--port", "0", "--unit", "12AB"});
    const std::string link = unit.readLine();
    ASSERT_EQ(link.rfind("tcp:127.0.0.1:", 0), 0u) << link;
    CliRun cli;
    auto ok = cli.runAnswered({"--link", link, "--unit", "12ab", "connect"});
    EXPECT_EQ(ok.exitCode, 0) << ok.err;
    EXPECT_EQ(ok.out, "Connect to unit 12AB [tcp " + link.substr(4) + " (7f-00-00-01)]\nSoftware\t49b25\n");

    // A peer that takes the connection but does not answer is no unit.
    ravo::test::TcpPeer silent;
    auto mute = cli.run({"--link", "tcp:127.0.0.1:" + std::to_string(silent.port()), "--unit", "12ab", "connect"});
    EXPECT_EQ(mute.exitCode, 1);
    EXPECT_NE(mute.out.find("\nNo responce from unit. Please, check unit nr.\n"), std::string::npos) << mute.out;

    auto absent = cli.run({"--link", "tcp:127.0.0.1:" + std::to_string(ravo::test::unusedPort()), "connect"});
    EXPECT_EQ(absent.exitCode, 1);
    EXPECT_EQ(absent.out, "Can not find any IrDA unit. Please check that unit is on.\n");

    auto bad = cli.run({"--link", "tcp:nowhere", "connect"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_EQ(bad.out, "");
}
#endif

TEST(CliConnect, UnitBoxIsSavedTheLinkOverrideIsNotAndTheLogAppends)
{
    CliRun cli;
    const std::string link = "sim:default";
    ASSERT_EQ(cli.run({"--link", link, "--unit", " 1234* ", "connect"}).exitCode, 0);
    std::string store = cli.store();
    EXPECT_NE(store.find("UNIT_NR=1234"), std::string::npos) << store;
    EXPECT_EQ(store.find(link), std::string::npos) << "--link is for one run only";

    // BL keeps the stored number; the next run talks to 1234.
    ASSERT_EQ(cli.run({"--link", link, "--unit", "bl", "connect"}).exitCode, 0);
    EXPECT_NE(cli.store().find("UNIT_NR=1234"), std::string::npos);
    auto third = cli.run({"--link", link, "connect"});
    EXPECT_EQ(third.out.rfind("Connect to unit 1234 [", 0), 0u) << third.out;

    std::string log = ravo::test::readFile(cli.home.file("loggfile.txt"));
    size_t lines = 0;
    for (size_t at = log.find("Open app\r\n"); at != std::string::npos; at = log.find("Open app\r\n", at + 1))
        ++lines;
    EXPECT_EQ(lines, 3u) << log;
    EXPECT_EQ(log.size(), 3 * (19 + 3 + 8 + 2));
}

TEST(CliConnect, UsageErrorsExitWithTwoAndHelpWithZero)
{
    CliRun cli;
    EXPECT_EQ(cli.run({}).exitCode, 2);
    EXPECT_EQ(cli.run({"no-such-command"}).exitCode, 2);
    EXPECT_EQ(cli.run({"connect", "--bogus"}).exitCode, 2);
    auto help = cli.run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("connect"), std::string::npos);
    EXPECT_EQ(cli.run({"connect", "--help"}).exitCode, 0);
}
