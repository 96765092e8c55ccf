// ravo-unit-sim as a program: the real link against it over TCP and over a
// pseudo-terminal, its options, its state dump and its firmware file writer.
#include <gtest/gtest.h>

#include "jobs/unit_versions.h"

#include <chrono>
#include <memory>
#include <thread>

#include <nlohmann/json.hpp>

#include "link/clock.h"
#include "link/ir_comm.h"
#include "sim/sim_firmware_image.h"
#include "sim/sim_presets.h"
#include "sim/sim_scenario.h"
#include "support/run_program.h"
#include "support/posix_facilities.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

#ifdef RAVO_SIM_PATH

namespace ravo::sim {
namespace {

using test::SimProcess;

// The link's pauses run 20 times faster than real time; a reply the unit
// sends is waited for in real time. Where most replies never come, the whole
// link time runs 20 times faster.
constexpr double kScale = 20.0;

class SimProgramTest : public ::testing::Test {
protected:
    // Starts the program with `args`; its first line is the link address.
    std::string start(std::vector<std::string> args)
    {
        process = std::make_unique<SimProcess>(RAVO_SIM_PATH, args);
        return process->readLine();
    }

    CIrComm& connect(const std::string& address, uint16_t unitNumber = 0x1234)
    {
        link = std::make_unique<CIrComm>();
        link->setClock(clock);
        link->setAddress(address);
        EXPECT_EQ(link->Open(), 0) << link->lastError;
        EXPECT_EQ(link->Connect(), 0) << link->lastError;
        link->unitNumber = unitNumber;
        return *link;
    }

    nlohmann::json dump()
    {
        process->writeLine("dump");
        std::string text = process->readUntil("\n}\n");
        return nlohmann::json::parse(text, nullptr, false);
    }

    // For the tests of a unit that mostly stays silent.
    void runAllWaitsFast() { clock = &fast; }

    PatientClock patient{kScale};
    ScaledClock fast{kScale};
    Clock* clock = &patient;
    std::unique_ptr<CIrComm> link;
    std::unique_ptr<SimProcess> process;
};

uint16_t versionOf(CIrComm& link)
{
    uint8_t bytes[15] = {};
    int count = 0;
    if (!link.ReadVersions(bytes, count) || count < 10)
        return 0;
    return uint16_t(decodeUnitVersions(bytes, count).firmwareVersion());
}

TEST_F(SimProgramTest, ListsPresets)
{
    auto r = test::runProgram(RAVO_SIM_PATH, {"--list-presets"});
    EXPECT_EQ(r.exitCode, 0);
    for (const SimPresetInfo& p : simPresets())
        EXPECT_NE(r.out.find(p.name + " "), std::string::npos) << p.name;
}

TEST_F(SimProgramTest, BadOptionsAreUsageErrors)
{
    EXPECT_EQ(test::runProgram(RAVO_SIM_PATH, {"--port", "0", "--preset", "nonsense"}).exitCode, 2);
    EXPECT_EQ(test::runProgram(RAVO_SIM_PATH, {"--port", "0", "--pty"}).exitCode, 2);
    EXPECT_EQ(test::runProgram(RAVO_SIM_PATH, {}).exitCode, 2);
    auto r = test::runProgram(RAVO_SIM_PATH, {"--port", "0", "--chunk-fault", "3"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("CHUNK:ANSWER"), std::string::npos);
}

TEST_F(SimProgramTest, WritesTestFirmware)
{
    test::TempDir dir;
    std::string path = dir.file("test.enc");
    auto r = test::runProgram(RAVO_SIM_PATH,
                              {"--write-firmware", path, "--version", "0x4926", "--chunks", "2", "--chunk-size", "4"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string text = test::readFile(path);
    EXPECT_EQ(text, encText(testFirmwareImage(0x4926, 2, 4)));
    // 2 chunks of 4 bytes, then 000C "RAVOFW-END" 49 26.
    EXPECT_EQ(text.size(), size_t(2 * (6 + 6 + 14)));
    EXPECT_EQ(text.substr(24), "000C5241564F46572D454E444926");
}

TEST_F(SimProgramTest, ServesOverTcpAndDumpsTheStateOnRequest)
{
    std::string address = start({"--port", "0"});
    ASSERT_EQ(address.rfind("tcp:127.0.0.1:", 0), 0u) << address;
    CIrComm& c = connect(address);
    EXPECT_EQ(c.PeerDescription().rfind("tcp 127.0.0.1", 0), 0u) << c.PeerDescription();
    ASSERT_EQ(versionOf(c), 0x4925);
    ASSERT_EQ(c.SetBacklight(100, 50), 1);
    ASSERT_EQ(c.Handshake(0x4925), 1);
    uint16_t count = 0;
    ASSERT_EQ(c.ReadLogCount(UNIT_CMD_GET_REDBOX_COUNT, count), 1);
    EXPECT_EQ(count, 3);
    nlohmann::json state = dump();
    ASSERT_FALSE(state.is_discarded());
    EXPECT_EQ(state["settings"]["backlightBrightness"], 255);
    EXPECT_EQ(state["settings"]["backlightOffLevel"], 127);
    EXPECT_EQ(state["unitNumber"], "1234");
}

TEST_F(SimProgramTest, ScenarioFileAndStateDumpAtExit)
{
    test::TempDir dir;
    test::writeFile(dir.file("unit.json"), R"({
        "preset": "fw4700", "unitNumber": "4321", "batteryMillivolts": 3600,
        "settings": {"rmv": 22},
        "diveLogs": [{"generate": "dive", "records": 40, "seed": 3}]
    })");
    std::string address = start({"--port", "0", "--scenario", dir.file("unit.json"), "--dump-state", dir.file("out.json")});
    CIrComm& c = connect(address, 0x4321);
    EXPECT_EQ(versionOf(c), 0x4700);
    int rmv = 0;
    ASSERT_EQ(c.GetRmv(rmv), 1);
    EXPECT_EQ(rmv, 22);
    ASSERT_EQ(c.SetMetric(false), 1);
    link.reset();
    EXPECT_EQ(process->stop(), 0);
    SimState after;
    std::string error;
    ASSERT_TRUE(loadScenarioFile(dir.file("out.json"), after, error)) << error;
    EXPECT_EQ(after.unitNumber, 0x4321);
    EXPECT_EQ(after.settings.metric, 0);
    EXPECT_EQ(after.batteryMillivolts, 3600);
    ASSERT_EQ(after.diveLogs.size(), 1u);
    EXPECT_EQ(after.diveLogs[0].recordCount(), 40u);
}

TEST_F(SimProgramTest, UnitNumberFirmwareAndTimingOptions)
{
    std::string address = start({"--port", "0", "--unit", "00ab", "--firmware", "4710", "--timing", "--baud", "57600",
                                 "--turnaround", "2"});
    CIrComm& c = connect(address, 0x00AB);
    EXPECT_EQ(versionOf(c), 0x4710);
    ASSERT_EQ(c.Handshake(0x4710), 1);
    double metres = 0;
    EXPECT_EQ(c.GetDepthLimit(metres), 1);
    nlohmann::json state = dump();
    EXPECT_EQ(state["unitNumber"], "00AB");
    EXPECT_EQ(state["timing"]["baud"], 57600);
    EXPECT_EQ(state["timing"]["turnaroundMs"], 2);
    EXPECT_EQ(state["timing"]["enabled"], true);
}

TEST_F(SimProgramTest, BootloaderOverAPseudoTerminal)
{
    if (!test::havePosixFacilities())
        GTEST_SKIP() << test::kNeedsPosix;
    std::string address = start({"--pty", "--preset", "bootloader", "--chunk-fault", "*:44:1"});
    CIrComm& c = connect(address);
    const uint8_t chunk[] = {9, 8, 7};
    std::vector<uint8_t> answers;
    for (int i = 0; i < 2; ++i) {
        c.SendChunk(chunk, 3);
        uint8_t byte = 0;
        for (int wait = 0; wait < 100 && c.Available() == 0; ++wait)
            c.WaitReadable(20);
        answers.push_back(c.Receive(&byte, 1) == 1 ? byte : 0);
    }
    EXPECT_EQ(answers, (std::vector<uint8_t>{0x44, 0x11}));
}

TEST_F(SimProgramTest, TracesEveryRequest)
{
    process = std::make_unique<SimProcess>(RAVO_SIM_PATH, std::vector<std::string>{"--port", "0", "--trace"}, true);
    std::string address = process->readLine();
    CIrComm& c = connect(address);
    uint16_t mv = 0;
    ASSERT_EQ(c.GetBatteryMillivolts(mv), 1);
    ASSERT_EQ(c.SetClock(0x01020304), 1);
    std::string trace = process->readUntil("payload [04 03 02 01]");
    EXPECT_NE(trace.find("request unit 1234 op 16 (GetVoltage) payload []"), std::string::npos) << trace;
    EXPECT_NE(trace.find("request unit 1234 op 25 (SetClock) payload [04 03 02 01]"), std::string::npos) << trace;
}

TEST_F(SimProgramTest, DumpsToAFileOnSigusr1)
{
    test::TempDir dir;
    std::string path = dir.file("state.json");
    std::string address = start({"--port", "0", "--preset", "no-logs", "--dump-state", path});
    ASSERT_FALSE(address.empty());
    if (!test::havePosixFacilities())
        GTEST_SKIP() << test::kNeedsPosix << "; the \"dump\" command does this there";
    ASSERT_TRUE(test::sendDumpSignal(process->pid()));
    nlohmann::json state;
    for (int i = 0; i < 200 && !state.is_object(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        state = nlohmann::json::parse(test::readFile(path), nullptr, false);
    }
    ASSERT_TRUE(state.is_object());
    EXPECT_TRUE(state["diveLogs"].empty());
    EXPECT_EQ(process->stop(), 0);
}

TEST_F(SimProgramTest, FaultOptionsOverTcp)
{
    std::string address = start({"--port", "0", "--noise", "4", "--split-gap", "30", "--corrupt-every", "3"});
    CIrComm& c = connect(address);
    uint16_t mv = 0;
    std::vector<int> results;
    for (int i = 0; i < 3; ++i) {
        if (i == 2)
            patient.allowExpiry(2500);  // the corrupted reply's wait runs out
        results.push_back(c.GetBatteryMillivolts(mv));
    }
    EXPECT_EQ(results, (std::vector<int>{1, 1, 0}));
}

TEST_F(SimProgramTest, SilentUnitAndIgnoredRequestsOverTcp)
{
    runAllWaitsFast();
    std::string address = start({"--port", "0", "--silent"});
    CIrComm& c = connect(address);
    EXPECT_EQ(versionOf(c), 0);
    link.reset();
    process.reset();
    address = start({"--port", "0", "--ignore-every", "2", "--reply-unit", "5678", "--short-data", "5"});
    CIrComm& d = connect(address);
    uint16_t mv = 0;
    EXPECT_EQ(d.GetBatteryMillivolts(mv), 1);
    EXPECT_EQ(d.GetBatteryMillivolts(mv), 0);
    LogDirectoryEntry entry;
    EXPECT_EQ(d.ReadLogEntry(UNIT_CMD_GET_DIVE_INFO, 0, entry), 1);
    uint8_t block[100];
    int got = 0;
    // Every second request goes unanswered; the block read retries.
    EXPECT_EQ(d.ReadDataBlock(UNIT_CMD_GET_DIVE_DATA, 0, block, 100, got), 1);
    EXPECT_EQ(got, 100);
}

TEST_F(SimProgramTest, DroppedLinkOverTcp)
{
    std::string address = start({"--port", "0", "--drop-after", "1"});
    CIrComm& c = connect(address);
    uint16_t mv = 0;
    EXPECT_EQ(c.GetBatteryMillivolts(mv), 1);
    EXPECT_EQ(c.GetBatteryMillivolts(mv), 0);
    c.Close();
    EXPECT_EQ(connect(address).GetBatteryMillivolts(mv), 1);
}

TEST_F(SimProgramTest, FirmwareOverTcpWithARestart)
{
    std::string address = start({"--port", "0", "--restart-ms", "150", "--chunk-fault", "1:22"});
    CIrComm& c = connect(address);
    ASSERT_EQ(c.EnterBootloader(true), 1);
    c.Close();
    ASSERT_EQ(c.Open(), 0);
    EXPECT_EQ(c.Connect(), -4) << "the port is closed while the unit restarts";
    c.Close();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    CIrComm& boot = connect(address);
    std::vector<uint8_t> image = testFirmwareImage(0x4A00, 1, 50);
    std::vector<uint8_t> answers;
    auto send = [&](size_t offset, int length) {
        boot.SendChunk(image.data() + offset + 2, length);
        uint8_t byte = 0;
        for (int i = 0; i < 100 && boot.Available() == 0; ++i)
            boot.WaitReadable(20);
        answers.push_back(boot.Receive(&byte, 1) == 1 ? byte : 0);
    };
    send(0, 50);
    send(0, 50);
    send(52, 12);
    EXPECT_EQ(answers, (std::vector<uint8_t>{0x22, 0x11, 0x11}));
    boot.Close();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(versionOf(connect(address)), 0x4A00);
}

TEST_F(SimProgramTest, ServesOverAPseudoTerminal)
{
    if (!test::havePosixFacilities())
        GTEST_SKIP() << test::kNeedsPosix;
    std::string address = start({"--pty", "--preset", "fw4210", "--timing", "--baud", "115200"});
    ASSERT_EQ(address.rfind("serial:/dev/", 0), 0u) << address;
    CIrComm& c = connect(address);
    ASSERT_EQ(versionOf(c), 0x4210);
    ASSERT_EQ(c.Handshake(0x4210), 1);
    uint8_t header[256] = {};
    EXPECT_EQ(c.ReadHeaderBlocks(UNIT_CMD_GET_REDBOX_HEADER, 1, header), 1);
    EXPECT_EQ(header[0], 0xFF);
    EXPECT_EQ(header[26] | header[27] << 8, 0x1234);
    nlohmann::json state = dump();
    EXPECT_EQ(state["firmware"], "4210");
}

}  // namespace
}  // namespace ravo::sim

#endif
