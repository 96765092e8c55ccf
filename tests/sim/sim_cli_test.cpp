// ravo-cli and the worker reaching the simulated unit through "sim".
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "jobs/work_task.h"
#include "link/link_address.h"
#include "sim/sim_registration.h"
#include "sim/sim_transport.h"
#include "support/posix_facilities.h"
#include "support/recording_events.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace ravo::sim {
namespace {

// Against the simulated unit in ravo-cli's process, in virtual time.
test::ProgramResult cli(const test::TempDir& home, const std::vector<std::string>& args)
{
    return test::runCliIn(home, args, {{"RAVO_VIRTUAL_TIME", "1"}});
}

TEST(SimCli, ConnectTellsThatNoRealUnitIsThere)
{
    test::TempDir home;
    auto r = cli(home, {"--link", "sim", "--unit", "1234", "connect"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Connect to unit 1234 [Simulated unit (00-00-00-01)]\nSoftware\t49b25\n");
    auto preset = cli(home, {"--link", "sim:lost-number", "--unit", "FFFF", "connect"});
    EXPECT_EQ(preset.exitCode, 0) << preset.err;
    EXPECT_EQ(preset.out.rfind("Connect to unit FFFF [Simulated unit (00-00-00-01)]\nSoftware\t", 0), 0u);
}

TEST(SimCli, UnknownPresetIsAUsageError)
{
    test::TempDir home;
    auto r = cli(home, {"--link", "sim:nonsense", "connect"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Unknown simulated unit 'nonsense'"), std::string::npos) << r.err;
}

TEST(SimCli, ScenarioFileBehindTheSimAddress)
{
    test::TempDir home;
    test::writeFile(home.file("away.json"), R"({"preset": "bootloader"})");
    auto r = cli(home, {"--link", "sim:" + home.file("away.json"), "--unit", "1234", "connect"});
    // A unit in its bootloader is found on the link but does not answer.
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(r.out, "Connect to unit 1234 [Simulated unit (00-00-00-01)]\n"
                     "No responce from unit. Please, check unit nr.\n");
}

TEST(SimWorker, DefaultLinkAddressIsTheSimulatedUnit)
{
    registerSimTransport();
    // On Windows the IrDA socket service stays the default: that is where a real unit is.
    EXPECT_EQ(defaultLinkAddress(), test::havePosixFacilities() ? "sim" : "irda");
    WorkTask worker;
    worker.setLinkAddress("sim:fw4700");
    test::RecordingEvents receiver;
    worker.start(ConnectRequest{0x1234, false, false}, receiver);
    const std::string expected = "Connect to unit 1234 [Simulated unit (00-00-00-01)]";
    for (int i = 0; i < 500 && !receiver.hasLine(expected); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(receiver.hasLine(expected));
    forgetSimUnits();
}

}  // namespace
}  // namespace ravo::sim
