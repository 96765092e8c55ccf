#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/run_program.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

namespace ravo::test {
namespace {

#ifdef RAVO_SIM_PATH

// ravo-cli settings save / restore against ravo-unit-sim in its own process.
class CliBackup : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim = std::make_unique<SimProcess>(RAVO_SIM_PATH, std::vector<std::string>{"--port", "0", "--preset", "fw4925"});
        address = sim->readLine();
        ASSERT_EQ(address.rfind("tcp:127.0.0.1:", 0), 0u) << address;
    }

    ProgramResult cli(std::vector<std::string> args, const std::string& unit = "1234")
    {
        args.insert(args.begin(), {"--link", address, "--unit", unit});
        return runCliIn(home, args);
    }

    nlohmann::json settings()
    {
        sim->writeLine("dump");
        return nlohmann::json::parse(sim->readUntil("\n}\n"), nullptr, false)["settings"];
    }

    TempDir home;
    std::unique_ptr<SimProcess> sim;
    std::string address;
};

TEST_F(CliBackup, RestorePutsBackTheChangedRowsAndDryRunWritesNothing)
{
    const std::string file = home.file("unit.ini");
    auto save = cli({"settings", "save", file});
    ASSERT_EQ(save.exitCode, 0) << save.err;
    EXPECT_NE(readFile(file).find("[unit]\r\nnumber = 1234\r\nfirmware = 4925\r\n"), std::string::npos);
    nlohmann::json before = settings();

    ASSERT_EQ(cli({"set", "HUD brightness", "25"}).exitCode, 0);
    ASSERT_EQ(cli({"set", "Oxygen part (%)", "94"}).exitCode, 0);

    auto dry = cli({"settings", "restore", file, "--dry-run"});
    ASSERT_EQ(dry.exitCode, 0) << dry.err;
    EXPECT_NE(dry.out.find("\nHUD brightness*\t25\t75\n"), std::string::npos) << dry.out;
    EXPECT_NE(dry.out.find("\nOxygen part (%)*\t94\t99\n"), std::string::npos);
    EXPECT_EQ(settings()["hudBrightness"], 1);

    auto restore = cli({"settings", "restore", file});
    ASSERT_EQ(restore.exitCode, 0) << restore.err;
    EXPECT_NE(restore.out.find("\n2 rows written\n"), std::string::npos) << restore.out;
    nlohmann::json after = settings();
    // Everything as saved, the clock apart.
    before.erase("timeToFly");
    after.erase("timeToFly");
    EXPECT_EQ(after, before);
}

// A saved file with four rows changed from what the unit holds.
std::string changedBackup(const std::string& text)
{
    std::string changed = text;
    auto set = [&](const std::string& key, const std::string& value) {
        const size_t at = changed.find("\n" + key + " = ");
        ASSERT_NE(at, std::string::npos) << key;
        const size_t end = changed.find("\r\n", at + 1);
        changed.replace(at + key.size() + 4, end - at - key.size() - 4, value);
    };
    set("metric", "0");
    set("hudBrightness", "25");
    set("setpointSurface", "0.95");
    set("oxygenPercent", "94");
    return changed;
}

TEST_F(CliBackup, ARestoreOfEqualValuesLeavesNoDifferenceAtTheUnitsResolution)
{
    const std::string file = home.file("unit.ini");
    ASSERT_EQ(cli({"settings", "save", file}).exitCode, 0);
    writeFile(file, changedBackup(readFile(file)));
    auto restore = cli({"settings", "restore", file});
    ASSERT_EQ(restore.exitCode, 0) << restore.err;
    EXPECT_NE(restore.out.find("\n4 rows written\n"), std::string::npos) << restore.out;
    EXPECT_EQ(settings()["setpointSurface"], 95);
    // 0.95 read back is 95 x 0.01, not the file's 0.95: still the same value.
    auto dry = cli({"settings", "restore", file, "--dry-run"});
    EXPECT_EQ(dry.exitCode, 0);
    EXPECT_NE(dry.out.find("\nThe unit holds the file's settings\n"), std::string::npos) << dry.out;
    EXPECT_EQ(dry.out.find("Setpoint"), std::string::npos) << dry.out;
    // With nothing left to write, a restore succeeds.
    auto again = cli({"settings", "restore", file});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_NE(again.out.find("\n0 rows written\n"), std::string::npos) << again.out;
}

// The link drops right after the unit was read: no row reaches the unit.
TEST_F(CliBackup, ARestoreWhoseWritesNeverArrivedNamesEveryRowAndFails)
{
    const std::string file = home.file("unit.ini");
    ASSERT_EQ(cli({"settings", "save", file}).exitCode, 0);
    writeFile(file, changedBackup(readFile(file)));
    SimProcess dropping(RAVO_SIM_PATH, {"--port", "0", "--preset", "fw4925", "--drop-after", "36"});
    const std::string dropAddress = dropping.readLine();
    // The waits for a unit that is gone run fast.
    auto restore = runCliIn(home, {"--link", dropAddress, "--unit", "1234", "settings", "restore", file},
                            {{"RAVO_TIME_SCALE", "50"}});
    EXPECT_EQ(restore.exitCode, 1);
    EXPECT_EQ(restore.out.find("\n4 rows written"), std::string::npos) << restore.out;
    EXPECT_NE(restore.out.find("\n0 of 4 rows written\n"), std::string::npos) << restore.out;
    for (const char* row : {"Metric/Imperial", "HUD brightness", "Setpoint surface", "Oxygen part (%)"})
        EXPECT_NE(restore.err.find(row), std::string::npos) << row << "\n" << restore.err;
}

TEST_F(CliBackup, SetFailsWhenTheRowCannotBeSeenHoldingTheValue)
{
    auto set = cli({"set", "HUD brightness", "50"});
    ASSERT_EQ(set.exitCode, 0) << set.err;
    EXPECT_NE(set.out.find("\nHUD brightness*\t50\n"), std::string::npos) << set.out;

    SimProcess dropping(RAVO_SIM_PATH, {"--port", "0", "--preset", "fw4925", "--drop-after", "36"});
    const std::string dropAddress = dropping.readLine();
    set = runCliIn(home, {"--link", dropAddress, "--unit", "1234", "set", "HUD brightness", "25"},
                   {{"RAVO_TIME_SCALE", "50"}});
    EXPECT_EQ(set.exitCode, 1);
    EXPECT_NE(set.err.find("\"HUD brightness\""), std::string::npos) << set.err;
}

TEST_F(CliBackup, AFileOfAnotherUnitIsRefused)
{
    const std::string file = home.file("unit.ini");
    ASSERT_EQ(cli({"settings", "save", file}).exitCode, 0);
    std::string text = readFile(file);
    text.replace(text.find("number = 1234"), 13, "number = 1235");
    writeFile(file, text);
    auto restore = cli({"settings", "restore", file});
    EXPECT_EQ(restore.exitCode, 1);
    EXPECT_NE(restore.err.find("The file holds the settings of unit 1235, not of unit 1234"), std::string::npos)
        << restore.err;
    writeFile(file, "[unit]\nnumber = 1234\n");
    restore = cli({"settings", "restore", file});
    EXPECT_EQ(restore.exitCode, 1);
    EXPECT_NE(restore.err.find("no [unit] or [values] section"), std::string::npos) << restore.err;
}

#endif

}  // namespace
}  // namespace ravo::test
