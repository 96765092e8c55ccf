// ravo-cli's firmware and recovery commands against ravo-unit-sim over TCP.
// The unit restarts in 20 ms; the tool's pauses run 50 times faster and the
// unit's answers are waited for in real time.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/sim_process.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace ravo {
namespace {

using test::runProgram;

struct CliRun {
    test::TempDir home;
    test::ProgramResult run(const std::vector<std::string>& args)
    {
        return test::runCliIn(home, args, {{"RAVO_PAUSE_SCALE", "50"}});
    }
    std::string log() const { return test::readFile(home.file("loggfile.txt")); }
};

// Writes a test image with the simulator's own tool.
std::string writeImage(const std::string& path, const std::string& version)
{
    auto made = runProgram(RAVO_SIM_PATH, {"--write-firmware", path, "--version", version, "--chunks", "5",
                                           "--chunk-size", "300"});
    EXPECT_EQ(made.exitCode, 0) << made.err;
    return path;
}

struct Unit {
    explicit Unit(const std::string& preset, const test::TempDir& dir, std::vector<std::string> faults = {})
        : dump(dir.file("state.json")),
          sim(RAVO_SIM_PATH, arguments(preset, dump, std::move(faults))),
          address(sim.readLine(10000))
    {
    }
    static std::vector<std::string> arguments(const std::string& preset, const std::string& dump,
                                              std::vector<std::string> faults)
    {
        std::vector<std::string> args = {"--port", "0", "--preset", preset, "--restart-ms", "20", "--dump-state", dump};
        args.insert(args.end(), faults.begin(), faults.end());
        return args;
    }
    // The unit's state after the simulator ended.
    std::string finalState()
    {
        sim.stop();
        return test::readFile(dump);
    }
    std::string dump;
    test::SimProcess sim;
    std::string address;  // "tcp:127.0.0.1:PORT", the simulator's first line
};

TEST(CliSimFirmware, EachModeLeavesTheUnitOnTheImageVersion)
{
    struct Row {
        std::string preset;
        std::string unitText;
        std::string statusPrefix;
        std::string logPrefix;
    };
    const Row rows[] = {
        {"default", "1234", "Firmware download [", "Firmware download 1234 : "},
        {"default", "1234*", "Firmware download FORCE [", "Firmware download FORCE 1234 : "},
        {"bootloader", "BL", "Firmware download BL [", "Firmware download BL FFFF : "},
    };
    for (const Row& row : rows) {
        CliRun cli;
        Unit unit(row.preset, cli.home);
        ASSERT_FALSE(unit.address.empty());
        std::string image = writeImage(cli.home.file("test.enc"), "4A07");
        auto run = cli.run({"--link", unit.address, "--unit", row.unitText, "firmware", "flash", image});
        EXPECT_EQ(run.exitCode, 0) << row.unitText << "\n" << run.out << run.err;
        EXPECT_EQ(run.out.rfind(row.statusPrefix + image + "]\n", 0), 0u) << run.out;
        EXPECT_NE(run.out.find("\nDone..\n"), std::string::npos) << run.out;
        EXPECT_NE(cli.log().find(row.logPrefix + image + "\r\n"), std::string::npos) << cli.log();
        std::string state = unit.finalState();
        EXPECT_NE(state.find("\"firmware\": \"4A07\""), std::string::npos) << row.unitText << state.substr(0, 300);
        EXPECT_NE(state.find("\"inBootloader\": false"), std::string::npos);
    }
}

TEST(CliSimFirmware, LowBatteryStopsBeforeTheBootloader)
{
    CliRun cli;
    Unit unit("low-battery", cli.home);
    std::string image = writeImage(cli.home.file("test.enc"), "4A07");
    auto run = cli.run({"--link", unit.address, "--unit", "1234", "firmware", "flash", image});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("\nVoltage outside range, please charge battery and try again\n"), std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("Enter BL mode"), std::string::npos);
    std::string state = unit.finalState();
    EXPECT_NE(state.find("\"firmware\": \"4925\""), std::string::npos);
}

TEST(CliSimFirmware, DamagedFileNeverReachesTheUnit)
{
    for (const std::string unitText : {"1234", "1234*"}) {
        CliRun cli;
        Unit unit("default", cli.home);
        std::string image = cli.home.file("cut.enc");
        test::writeFile(image, "0001AA0005AABB");
        auto run = cli.run({"--link", unit.address, "--unit", unitText, "firmware", "flash", image});
        EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
        EXPECT_NE(run.out.find("Firmware file [" + image + "] refused: chunk 2 declares 5 bytes, only 2 remain\n"),
                  std::string::npos)
            << run.out;
        EXPECT_EQ(run.out.find("Enter "), std::string::npos) << run.out;
        std::string state = unit.finalState();
        EXPECT_NE(state.find("\"firmware\": \"4925\""), std::string::npos);
        EXPECT_NE(state.find("\"inBootloader\": false"), std::string::npos);
    }
}

TEST(CliSimFirmware, UpdateCutByALostLinkIsFinishedInTheBootloaderMode)
{
    CliRun cli;
    Unit unit("default", cli.home, {"--drop-after-chunk", "3"});
    std::string image = writeImage(cli.home.file("test.enc"), "4A08");
    auto cut = cli.run({"--link", unit.address, "--unit", "1234", "firmware", "flash", image});
    EXPECT_EQ(cut.exitCode, 1) << cut.out << cut.err;
    EXPECT_EQ(cut.out.find("\nDone..\n"), std::string::npos) << cut.out;
    auto resumed = cli.run({"--link", unit.address, "--unit", "BL", "firmware", "flash", image});
    EXPECT_EQ(resumed.exitCode, 0) << resumed.out << resumed.err;
    EXPECT_NE(resumed.out.find("\nDone..\n"), std::string::npos) << resumed.out;
    std::string state = unit.finalState();
    EXPECT_NE(state.find("\"firmware\": \"4A08\""), std::string::npos) << state.substr(0, 300);
    EXPECT_NE(state.find("\"inBootloader\": false"), std::string::npos);
}

TEST(CliSimFixSerial, LostNumberComesBack)
{
    CliRun cli;
    Unit unit("lost-number", cli.home);
    auto run = cli.run({"--link", unit.address, "--unit", "ffff", "fix-serial"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(run.out.rfind("Try to fix lost serial number\nConnect to unit FFFF [", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("\nFound unit (1) id 1234\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\nPlease, restart unit\n"), std::string::npos);
    EXPECT_NE(cli.log().find(" : UNIT_CMD_FIX_LOST_SR FFFF\r\n"), std::string::npos);
    std::string state = unit.finalState();
    EXPECT_NE(state.find("\"unitNumber\": \"1234\""), std::string::npos) << state.substr(0, 300);
}

}  // namespace
}  // namespace ravo
