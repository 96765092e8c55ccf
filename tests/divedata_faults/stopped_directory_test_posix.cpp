// `dives --new` stopped while the directory is read: nothing is claimed
// saved, the entries not read are named and the run fails.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include "tests/cli/background_cli.h"
#include "tests/cli/cli_run.h"

namespace ravo::test {
namespace {

// Sixty small dives behind a slow line, so the directory read takes a while.
std::string slowUnit(const CliHome& cli)
{
    std::string dives;
    for (int i = 0; i < 60; ++i)
        dives += std::string(i ? "," : "") + R"({"generate": "dive", "records": 5, "seed": )" + std::to_string(i) +
                 R"(, "startTime": )" + std::to_string(849200000 + i * 10000) + "}";
    const std::string path = cli.home.file("slow.json");
    writeFile(path, R"({"preset": "no-logs", "diveLogs": [)" + dives +
                        R"(], "timing": {"enabled": true, "baud": 9600, "turnaroundMs": 20}})");
    return path;
}

TEST(StoppedDirectory, DivesNewStoppedDuringTheDirectoryReadFails)
{
    for (int signal : {SIGINT, SIGTERM}) {
        CliHome cli;
        pid_t pid = startCliInBackground(cli, {"--link", "sim:" + slowUnit(cli), "--unit", "1234", "dives", "--new"});
        ASSERT_GT(pid, 0);
        const bool reading = waitForOutput(cli, "Read divelog info 2 (60)");
        ::kill(pid, signal);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(reading) << readFile(cli.home.file("err.txt"));
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 1);
        const std::string err = readFile(cli.home.file("err.txt"));
        EXPECT_FALSE(contains(err, "new dive(s)")) << err;
        EXPECT_TRUE(contains(err, "Stopped while the dive directory was read; nothing was downloaded.")) << err;
        EXPECT_TRUE(contains(err, ", 59 could not be read from the unit")) << err;
        EXPECT_FALSE(contains(readFile(cli.home.file("out.txt")), "... done"));
    }
}

}  // namespace
}  // namespace ravo::test
