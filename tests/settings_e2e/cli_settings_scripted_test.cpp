#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "../settings/scripted_unit.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace ravo::test {
namespace {

// ravo-cli in a folder of its own, with a store of its own.
struct CliRun {
    TempDir home;
    ProgramResult run(const std::vector<std::string>& args)
    {
        return test::runCliIn(home, args);
    }
};

std::vector<uint8_t> opcodesOf(const LinkScriptPeer& peer)
{
    std::vector<uint8_t> out;
    for (const auto& r : peer.requests())
        out.push_back(r.opcode);
    return out;
}

TEST(CliInfoScripted, PrintsLinesInfoValuesAndRows)
{
    LinkScriptPeer peer(UnitTable::typical(0x4925).handler());
    CliRun cli;
    auto result = cli.run({"--link", peer.address(), "--unit", "1234", "info"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    auto lines = splitLines(result.out);
    const std::vector<std::string> expected = {
        "Read software versions",
        "Read voltage",
        "Voltage OK (4.10)",
        "Reading settings list... wait",
        "Reading settings list... done",
        "Voltage OK (4.10)",
        "Voltage\t4.100",
        "Software\tver 49b25",
        "Display\tver 3  (HW 4)",
        "Battery\tver 7  (HW 8)",
        "Backpack\tver 5  (HW 6)",
        "HUD\tver 1  (HW 2)",
        "Decimal/point*\tpoint",
        "Metric/Imperial*\tmetric",
        "HigResInDisplay*\thigh res",
        "Backlight brightness*\t49",
        "Backlight offlevel*\t25",
        "HUD brightness*\t50",
        "Setpoint surface*\t0.7",
        "Setpoint depth*\t1.3",
        "DIL size (liter)*\t2.0",
        "DIL pressure (bar)*\t232",
        "DIL O2 part (%)*\t21",
        "DIL HE part (%)*\t0",
        "DIL N2 part (%)\t79",
        "Oxygen size (liter)\t3.0",
        "Oxygen pressure (bar)\t200",
        "Oxygen part (%)*\t98",
        "Counter lung volume (liter)\t5.7",
        "RMV value (liter)\t25",
        "vdot 02 damping\t2",
        "RTC time (UTC)*\t2025-05-08 06:13:20",
        "Service time (UTC)\t2025-01-12 12:26:40",
        "TimeToFly time (UTC)\t2025-05-08 07:13:20",
        "Mouthpiece pos\tClosed Circuit",
        "O2 sensor 1 (mV)\t45",
        "O2 sensor 2 (mV)\t47",
        "Battery SR\t00AB",
        "Depth limit (m)\t60",
        "Deco enabled*\tYes",
        "Max TimeToSurface (min)*\t30",
        "OTU value\t12",
        "Battery type\t60m Trimix (White)",
        "E-module type\tEnhanced unit (max 60m)",
        "System mode\tReady to dive",
    };
    ASSERT_GE(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("Connect to unit 1234 [", 0), 0u) << lines[0];
    // The scripted clock stands still in the past: the one finding, before the values.
    const auto warning = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.rfind("Warning: The unit's clock is ", 0) == 0;
    });
    ASSERT_NE(warning, lines.end()) << result.out;
    EXPECT_EQ(*(warning + 1), "Voltage\t4.100");
    lines.erase(warning);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()), expected);
}

TEST(CliInfoScripted, LowBatteryEndsAfterTheVersions)
{
    UnitTable table = UnitTable::typical(0x4925);
    table.reads[UNIT_CMD_GET_VOLTAGE] = le16(3200);
    LinkScriptPeer peer(table.handler());
    CliRun cli;
    auto result = cli.run({"--link", peer.address(), "--unit", "1234", "info"});
    EXPECT_EQ(result.exitCode, 1);
    auto lines = splitLines(result.out);
    ASSERT_EQ(lines.size(), 11u) << result.out;
    EXPECT_EQ(lines[3], "Voltage outside range, please charge battery and try again");
    EXPECT_EQ(lines[4], "Warning: Battery low: 3.200 V, below 3.500 V. Charge the battery before the next dive.");
    EXPECT_EQ(lines[5], "Voltage\t3.200");
}

TEST(CliSetScripted, WritesTheRowAndReadsAgain)
{
    LinkScriptPeer peer(UnitTable::typical(0x4925).handler());
    CliRun cli;
    auto result = cli.run({"--link", peer.address(), "--unit", "1234", "set", "hud BRIGHTNESS", "60"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    auto lines = splitLines(result.out);
    // The scripted unit keeps answering 2 (50 %), so the re-read row shows 50.
    EXPECT_EQ(lines.back(), "HUD brightness*\t50");
    std::vector<ReceivedRequest> writes;
    for (const auto& r : peer.requests())
        if (r.opcode == 39)
            writes.push_back(r);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].payload, (std::vector<uint8_t>{2, 0}));
    auto ops = opcodesOf(peer);
    EXPECT_EQ(std::count(ops.begin(), ops.end(), uint8_t(5)), 1) << "versions read once";
    EXPECT_EQ(std::count(ops.begin(), ops.end(), uint8_t(7)), 2) << "settings read twice";
}

TEST(CliSetScripted, RefusalsExitOneWithTheNotice)
{
    struct Row {
        std::vector<std::string> args;
        std::string notice;
    } rows[] = {
        {{"set", "DIL N2 part (%)", "50"}, "Can not be changed\n"},
        {{"set", "No such row", "1"}, "Unknown setting \"No such row\"\n"},
        {{"set", "Metric/Imperial", "yes"},
         "Value must be \"Metric\" or \"Imperial\" (or \"metric\" / \"imperial\")\n"},
        {{"set", "RTC time (UTC)", "later"}, "Value must be \"now\"\n"},
    };
    for (const Row& row : rows) {
        LinkScriptPeer peer(UnitTable::typical(0x4925).handler());
        CliRun cli;
        std::vector<std::string> args = {"--link", peer.address(), "--unit", "1234"};
        args.insert(args.end(), row.args.begin(), row.args.end());
        auto result = cli.run(args);
        EXPECT_EQ(result.exitCode, 1) << row.args[1];
        EXPECT_EQ(result.err, row.notice) << row.args[1];
        auto ops = opcodesOf(peer);
        EXPECT_EQ(std::count(ops.begin(), ops.end(), uint8_t(5)), 1) << "no second read after a refusal";
    }
}

TEST(CliSetScripted, ResetRowsNeedTheServiceCode)
{
    // "QUINTABREL" enciphers "1234" as these pairs.
    std::string cdata;
    const std::string key = "QUINTABREL", code = "1234";
    for (size_t i = 0; i < code.size(); ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", unsigned((code[i] - 32 + key[i]) & 0xFF));
        cdata += pair;
    }
    {
        LinkScriptPeer peer(UnitTable::typical(0x4925).handler());
        CliRun cli;
        auto result = cli.run({"--link", peer.address(), "--unit", "1234", "set", "Reset tissuetension", "RESET"});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, "Unknown setting \"Reset tissuetension\"\n");
    }
    {
        LinkScriptPeer peer(UnitTable::typical(0x4925).handler());
        CliRun cli;
        auto result = cli.run({"--link", peer.address(), "--unit", "1234", "--service-code", " 1234 ",
                               "--service-cdata", cdata, "set", "Reset tissuetension", "RESET"});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(splitLines(result.out).back(), "Reset tissuetension*\tRESET");
        auto ops = opcodesOf(peer);
        EXPECT_EQ(std::count(ops.begin(), ops.end(), uint8_t(74)), 1) << "RESET_TISSUES with the second map";
    }
    {
        LinkScriptPeer peer(UnitTable::typical(0x4925).handler());
        CliRun cli;
        auto result = cli.run({"--link", peer.address(), "--unit", "1234", "--service-code", "9999",
                               "--service-cdata", cdata, "info"});
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.err, "Service code not accepted: service mode stays off\n");
        EXPECT_EQ(result.out.find("Reset"), std::string::npos);
    }
}

TEST(CliPowerDownScripted, SendsTheCommandInTheUnitsMap)
{
    // The first map's opcode is tested in-process; the command waits 500 ms.
    for (uint32_t version : {0x4700u}) {
        LinkScriptPeer peer(UnitTable::typical(version).handler());
        CliRun cli;
        auto result = cli.run({"--link", peer.address(), "--unit", "1234", "power-down"});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(splitLines(result.out).back(), "Power down sent to unit 1234");
        auto ops = opcodesOf(peer);
        ASSERT_EQ(ops.size(), 2u);
        EXPECT_EQ(ops[0], 5);
        EXPECT_EQ(ops[1], version < 0x4700 ? 57 : 72);
    }
}

}  // namespace
}  // namespace ravo::test
