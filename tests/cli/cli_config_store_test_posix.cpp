// The configuration store from the command line: a store that cannot be
// written is an error with its reason, a run writes back only what it
// changed, and a folder entry left empty means the default folder.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "background_cli.h"
#include "cli_run.h"

namespace ravo::test {
namespace {

std::string storeFolder(const CliHome& cli)
{
    return cli.home.path() + "/Varnholm";
}

TEST(CliConfigStore, AStoreThatIsAFolderIsAnErrorWithTheReason)
{
    CliHome cli;
    std::filesystem::create_directories(cli.home.path() + "/Varnholm/Ravo_Config.conf");
    ProgramResult r = cli.run({"config", "set", "DIVEFOLDER", cli.home.file("elsewhere")});
    EXPECT_EQ(r.exitCode, 1) << r.out;
    EXPECT_EQ(r.out, "") << "the new value is not claimed";
    EXPECT_TRUE(contains(r.err, "Can not write the configuration store " + storeFolder(cli) +
                                    "/Ravo_Config.conf (it is a folder)"))
        << r.err;
}

TEST(CliConfigStore, AReadOnlyStoreFolderIsAnErrorAndTheOldValueStays)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into a read-only folder";
    CliHome cli;
    ASSERT_EQ(cli.run({"config", "set", "DIVEFOLDER", cli.home.file("first")}).exitCode, 0);
    std::filesystem::permissions(storeFolder(cli), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    ProgramResult r = cli.run({"config", "set", "DIVEFOLDER", cli.home.file("second")});
    std::filesystem::permissions(storeFolder(cli), std::filesystem::perms::owner_all);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(contains(r.err, "is read-only")) << r.err;
    EXPECT_TRUE(contains(cli.run({"config"}).out, "KTLS/DIVEFOLDER\t" + cli.home.file("first") + "\n"));
}

// `config set` while a download runs: the download's end must not put the
// old folder back.
TEST(CliConfigStore, AnEntrySetDuringARunIsNotRevertedAtItsEnd)
{
    CliHome cli;
    const std::string scenario = cli.home.file("slow.json");
    writeFile(scenario, R"({"preset": "no-logs", "timing": {"enabled": true},
                           "diveLogs": [{"generate": "dive", "records": 3000, "seed": 3, "startTime": 849200000}]})");
    ASSERT_EQ(cli.run({"config", "set", "DIVEFOLDER", cli.home.file("before")}).exitCode, 0);
    pid_t pid = startCliInBackground(cli, {"--link", "sim:" + scenario, "--unit", "1234", "dive", "0"});
    ASSERT_GT(pid, 0);
    // The download has read the store and runs.
    EXPECT_TRUE(waitForOutput(cli, "Read dive logdata 0 - 25 "));
    ProgramResult set = cli.run({"config", "set", "DIVEFOLDER", cli.home.file("after")});
    int status = 0;
    const bool stillRunning = ::waitpid(pid, &status, WNOHANG) == 0;
    if (stillRunning)
        ::waitpid(pid, &status, 0);
    ASSERT_TRUE(stillRunning) << "the download ended before the entry was set; the test proves nothing";
    EXPECT_EQ(set.exitCode, 0) << set.err;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(contains(cli.run({"config"}).out, "KTLS/DIVEFOLDER\t" + cli.home.file("after") + "\n"))
        << cli.store();
}

TEST(CliConfigStore, AnEmptyDiveFolderEntryMeansTheDefaultWithAWarning)
{
    CliHome cli;
    ASSERT_EQ(cli.sim({"dive", "1"}).exitCode, 0);
    writeFile(storeFolder(cli) + "/Ravo_Config.conf", "[KTLS]\nDIVEFOLDER=\n");
    ProgramResult r = cli.run({"saved"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(contains(r.out, "1234\n\t")) << r.out;
    EXPECT_TRUE(contains(r.err, "Warning: the stored DIVEFOLDER is empty; using " + cli.home.file("dive"))) << r.err;
}

}  // namespace
}  // namespace ravo::test
