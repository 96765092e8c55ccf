#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "support/run_program.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

namespace ravo::test {
namespace {

#ifdef RAVO_SIM_PATH

// ravo-cli against ravo-unit-sim in a process of its own: what "set" wrote is
// what the simulated unit holds afterwards, and what a later "info" shows.
class CliAgainstSimProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim = std::make_unique<SimProcess>(RAVO_SIM_PATH, std::vector<std::string>{"--port", "0", "--preset", "fw4925"});
        address = sim->readLine();
        ASSERT_EQ(address.rfind("tcp:127.0.0.1:", 0), 0u) << address;
    }

    ProgramResult cli(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--link", address, "--unit", "1234"});
        return test::runCliIn(home, args);
    }

    nlohmann::json dump()
    {
        sim->writeLine("dump");
        return nlohmann::json::parse(sim->readUntil("\n}\n"), nullptr, false);
    }

    static std::string lastLine(const std::string& text)
    {
        std::istringstream in(text);
        std::string line, last;
        while (std::getline(in, line))
            last = line;
        return last;
    }

    TempDir home;
    std::unique_ptr<SimProcess> sim;
    std::string address;
};

TEST_F(CliAgainstSimProgram, TheUnitHoldsTheWrittenValues)
{
    auto hud = cli({"set", "HUD brightness", "60"});
    ASSERT_EQ(hud.exitCode, 0) << hud.err;
    EXPECT_EQ(lastLine(hud.out), "HUD brightness*\t50");
    // Both levels travel together, each from what the unit last reported:
    // the off level first, so the brightness written last stays 127.
    auto off = cli({"set", "Backlight offlevel", "25"});
    ASSERT_EQ(off.exitCode, 0) << off.err;
    auto backlight = cli({"set", "Backlight brightness", "50"});
    ASSERT_EQ(backlight.exitCode, 0) << backlight.err;
    auto setpoint = cli({"set", "Setpoint surface", "0.57"});
    ASSERT_EQ(setpoint.exitCode, 0) << setpoint.err;

    nlohmann::json state = dump();
    ASSERT_FALSE(state.is_discarded());
    EXPECT_EQ(state["settings"]["hudBrightness"], 2);
    EXPECT_EQ(state["settings"]["backlightBrightness"], 127);
    EXPECT_EQ(state["settings"]["backlightOffLevel"], 64);
    EXPECT_EQ(state["settings"]["setpointSurface"], 56);

    auto info = cli({"info"});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    EXPECT_NE(info.out.find("\nBacklight brightness*\t49\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("\nHUD brightness*\t50\n"), std::string::npos);
    EXPECT_NE(info.out.find("\nSetpoint surface*\t0.6\n"), std::string::npos);  // 0.56 shown with one decimal
}

#endif

}  // namespace
}  // namespace ravo::test
