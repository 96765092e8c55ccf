// ravo-cli when the world is unkind: stopped by SIGTERM or SIGHUP, a disk
// that fills up (a file size limit, as `ulimit -f` sets it, stands in for a
// full disk without root), pipes and devices where files should be, a trace
// that cannot be written, a display that is not there. Every run is bounded
// by `timeout`, so a run that would hang fails instead.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "divedata/partial_log.h"
#include "divedata/sample_csv.h"
#include "support/posix_facilities.h"
#include "tests/cli/background_cli.h"
#include "tests/cli/cli_run.h"

namespace ravo::test {
namespace {

const std::string kBase = "KTL_SN1234_2026-11-28_16-53-20_O";

// ravo-cli under /bin/sh: `setup` runs first (ulimit, trap), then ravo-cli
// under `timeout`, in the home's folder and store.
ProgramResult shellCli(const CliHome& cli, const std::string& setup, const std::vector<std::string>& args,
                       std::map<std::string, std::string> env = {})
{
    std::vector<std::string> shArgs = {"-c", setup + "\nexec timeout -s KILL 60 \"$0\" \"$@\"", RAVO_CLI_PATH};
    shArgs.insert(shArgs.end(), args.begin(), args.end());
    env["XDG_CONFIG_HOME"] = cli.home.path();
    env["HOME"] = cli.home.path();
    env["RAVO_TIME_SCALE"] = "50";
    return runProgram("/bin/sh", shArgs, env, cli.home.path());
}

std::string unitWithOneLongDive(const CliHome& cli, int dropAfter, bool timing)
{
    const std::string path = cli.home.file("unit" + std::to_string(dropAfter) + (timing ? "t" : "") + ".json");
    writeFile(path, std::string(R"({"preset": "no-logs",
        "diveLogs": [{"generate": "dive", "records": 12000, "seed": 5, "startTime": 849200000}],
        "timing": {"enabled": )") + (timing ? "true" : "false") + R"(},
        "faults": {"dropAfter": )" + std::to_string(dropAfter) + "}}");
    return path;
}

std::string divePath(const CliHome& cli, const std::string& extension)
{
    return joinFolder(cli.home.file("dive"), kBase + extension);
}

uint32_t markedRecords(const CliHome& cli)
{
    uint32_t records = 0;
    EXPECT_TRUE(IsMarkedPartial(divePath(cli, ""), &records));
    return records;
}

// A longer cut-off download on a full disk is not saved; the partial saved
// before stays exactly as it was, and its mark still tells the truth, so a
// later, better partial replaces it.
TEST(FullDisk, APartialThatCannotBeSavedLeavesTheEarlierOneAndItsMarkAlone)
{
    CliHome cli;
    const auto dive0 = [&](int dropAfter, const std::string& setup) {
        return shellCli(cli, setup, {"--link", "sim:" + unitWithOneLongDive(cli, dropAfter, false), "--unit", "1234",
                                     "dive", "0"});
    };
    ProgramResult first = dive0(60, "");
    ASSERT_EQ(first.exitCode, 1) << first.err;
    const uint32_t firstRecords = markedRecords(cli);
    const std::string csv = readFile(divePath(cli, ".csv"));
    const std::string mark = readFile(divePath(cli, ".partial"));
    ASSERT_GT(firstRecords, 0u);

    // Room for the first sample file and a little more, in 512-byte blocks.
    const std::string full = "trap '' XFSZ\nulimit -f " + std::to_string(csv.size() / 512 + 8);
    ProgramResult cut = dive0(300, full);
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_TRUE(contains(cut.err, "Dive 0 is incomplete: not saved.")) << cut.err;
    EXPECT_TRUE(contains(cut.err, "SaveSamplesCsv - Error, can not open file for writing: " + divePath(cli, ".csv") +
                                      " (File too large)"))
        << cut.err;
    EXPECT_EQ(readFile(divePath(cli, ".partial")), mark);
    EXPECT_EQ(readFile(divePath(cli, ".csv")), csv);

    ProgramResult better = dive0(150, "");
    EXPECT_EQ(better.exitCode, 1);
    EXPECT_TRUE(contains(better.err, "Dive 0 is incomplete: saved, marked partial.")) << better.err;
    const uint32_t betterRecords = markedRecords(cli);
    EXPECT_GT(betterRecords, firstRecords);
    std::vector<CDiveDataRecord> samples;
    ASSERT_EQ(ReadSamplesCsv(divePath(cli, ".csv"), samples), 0);
    EXPECT_EQ(samples.size(), betterRecords);
}

// SIGTERM (`timeout`) and SIGHUP (the terminal closed) stop a download like
// Ctrl-C: what arrived is saved, marked partial, and the run fails.
TEST(Signals, TermAndHupKeepWhatArrivedLikeCtrlC)
{
    for (int signal : {SIGTERM, SIGHUP}) {
        CliHome cli;
        pid_t pid = startCliInBackground(
            cli, {"--link", "sim:" + unitWithOneLongDive(cli, 0, true), "--unit", "1234", "dive", "0"});
        ASSERT_GT(pid, 0);
        const bool reading = waitForOutput(cli, "Read dive logdata 0 - 25 ");
        ::kill(pid, signal);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(reading) << readFile(cli.home.file("err.txt"));
        ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << signal << " without saving";
        EXPECT_EQ(WEXITSTATUS(status), 1);
        const std::string err = readFile(cli.home.file("err.txt"));
        EXPECT_TRUE(contains(err, "Dive 0 is incomplete: saved, marked partial.")) << err;
        EXPECT_GT(markedRecords(cli), 0u);
    }
}

// Stopped while a dive is read that was saved before with more records: the
// run says the earlier file was kept, and nothing claims otherwise.
TEST(Signals, AStopAfterABetterPartialSaysOnlyThatItWasKept)
{
    CliHome cli;
    ProgramResult first =
        shellCli(cli, "", {"--link", "sim:" + unitWithOneLongDive(cli, 200, false), "--unit", "1234", "dive", "0"});
    ASSERT_EQ(first.exitCode, 1) << first.err;
    const uint32_t saved = markedRecords(cli);
    ASSERT_GT(saved, 1000u);

    pid_t pid = startCliInBackground(
        cli, {"--link", "sim:" + unitWithOneLongDive(cli, 0, true), "--unit", "1234", "dives", "--new"});
    ASSERT_GT(pid, 0);
    const bool reading = waitForOutput(cli, "Read dive logdata 0 - 25 ");
    EXPECT_EQ(interruptAndWait(pid), 1);
    ASSERT_TRUE(reading);
    const std::string err = readFile(cli.home.file("err.txt"));
    ASSERT_EQ(markedRecords(cli), saved) << err;
    EXPECT_TRUE(contains(err, "Dive 0 is incomplete: the log saved before was kept.")) << err;
    EXPECT_FALSE(contains(err, "saved as far as it arrived")) << err;
}

// Pipes and devices where the program reads files: refused at once, never
// waited on, never read without end.
TEST(FileChecks, PipesAndDevicesAreRefusedPromptly)
{
    CliHome cli;
    const std::vector<std::string> link = {"--link", "sim:" + unitWithOneLongDive(cli, 0, false), "--unit", "1234"};
    auto withLink = [&](std::vector<std::string> args) {
        args.insert(args.begin(), link.begin(), link.end());
        return args;
    };
    // A pipe named like the dive's partial mark: dives --new goes on and
    // saves the dive.
    std::filesystem::create_directories(cli.home.file("dive"));
    ASSERT_TRUE(makeFifo(divePath(cli, ".partial")));
    ProgramResult fresh = shellCli(cli, "", withLink({"dives", "--new"}));
    EXPECT_EQ(fresh.exitCode, 0) << fresh.err;
    EXPECT_TRUE(std::filesystem::is_regular_file(divePath(cli, ".csv")));

    // A pipe named like the saved sample file: export refuses it, and
    // dives --new saves the dive beside it.
    std::filesystem::remove(divePath(cli, ".csv"));
    ASSERT_TRUE(makeFifo(divePath(cli, ".csv")));
    ProgramResult exported =
        shellCli(cli, "", {"export", "1234", "2026-11-28_16-53-20_O", "--format", "csv", "--out", "x.csv"});
    EXPECT_EQ(exported.exitCode, 1) << exported.err;
    EXPECT_TRUE(contains(exported.err, "it is not a regular file")) << exported.err;
    fresh = shellCli(cli, "", withLink({"dives", "--new"}));
    EXPECT_EQ(fresh.exitCode, 0) << fresh.err;
    EXPECT_TRUE(contains(fresh.err, "KTL_SN1234_2026-11-28_16-53-20_2_O")) << fresh.err;

    // Settings files: a device without end and a pipe, before the unit is asked.
    const std::string memoryCap = "ulimit -v 2000000";
    ProgramResult zero =
        shellCli(cli, memoryCap, {"--link", "sim", "--unit", "1234", "settings", "restore", "/dev/zero", "--dry-run"});
    EXPECT_EQ(zero.exitCode, 1);
    EXPECT_TRUE(contains(zero.err, "Could not read [/dev/zero]: it is not a regular file")) << zero.err;
    ASSERT_TRUE(makeFifo(cli.home.file("settings.ini")));
    ProgramResult pipe = shellCli(
        cli, "", {"--link", "sim", "--unit", "1234", "settings", "restore", cli.home.file("settings.ini"), "--dry-run"});
    EXPECT_EQ(pipe.exitCode, 1);
    EXPECT_TRUE(contains(pipe.err, "it is not a regular file")) << pipe.err;

    // Firmware: a pipe given by path or found by name in the firmware folder.
    std::filesystem::create_directories(cli.home.file("firmware"));
    ASSERT_TRUE(makeFifo(joinFolder(cli.home.file("firmware"), "pipe.enc")));
    for (const std::string& given : {joinFolder(cli.home.file("firmware"), "pipe.enc"), std::string("pipe.enc")}) {
        ProgramResult flash = shellCli(cli, "", {"--link", "sim", "--unit", "1234", "firmware", "flash", given});
        EXPECT_EQ(flash.exitCode, 1) << given;
        EXPECT_TRUE(contains(flash.out + flash.err, "refused: it is not a regular file")) << flash.out << flash.err;
    }
}

TEST(Trace, ATraceThatCannotBeWrittenFailsTheRun)
{
    CliHome cli;
    ProgramResult r = shellCli(cli, "", {"--trace", "/dev/full", "--link", "sim", "--unit", "1234", "connect"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(contains(r.err, "The trace file /dev/full could not be written (No space left on device)")) << r.err;
}

// The PNG export paints offscreen whatever QT_QPA_PLATFORM says.
TEST(PngExport, NeedsNoDisplayWhateverThePlatformVariableSays)
{
    CliHome cli;
    ASSERT_EQ(cli.sim({"dive", "1"}).exitCode, 0);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(cli.home.file("dive")))
        names.push_back(entry.path().stem().string());
    ASSERT_FALSE(names.empty());
    const std::string stamp = names[0].substr(names[0].find('_', 6) + 1);
    ProgramResult r = shellCli(cli, "unset DISPLAY WAYLAND_DISPLAY",
                               {"export", "1234", stamp, "--format", "png", "--out", "dive.png"},
                               {{"QT_QPA_PLATFORM", "xcb"}});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readFile(cli.home.file("dive.png")).substr(1, 3), "PNG");
}

}  // namespace
}  // namespace ravo::test
