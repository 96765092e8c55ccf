#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <iomanip>
#include <sstream>

#include "sim/sim_presets.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace ravo::test {
namespace {

// ravo-cli against the simulated unit in its process, in virtual time.
struct CliRun {
    TempDir home;
    ProgramResult run(const std::vector<std::string>& args)
    {
        return test::runCliIn(home, args, {{"RAVO_VIRTUAL_TIME", "1"}});
    }
};

// The service code "RAVO" enciphered with the service key, as a manifest carries it.
std::string serviceCdata()
{
    const std::string key = "QUINTABREL", code = "RAVO";
    std::string out;
    for (size_t i = 0; i < code.size(); ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", unsigned((code[i] - 32 + key[i]) & 0xFF));
        out += pair;
    }
    return out;
}

struct Family {
    const char* preset;
    uint16_t version;
};

const Family kFamilies[] = {{"fw4005", 0x4005}, {"fw4210", 0x4210}, {"fw4512", 0x4512}, {"fw4700", 0x4700},
                            {"fw4922", 0x4922}, {"fw4925", 0x4925}, {"default", 0x4925}};

// The row names the settings table gives a unit of `version` whose deco is
// offered, with a "*" on the editable ones (trimix diluent editing holds for
// the presets: deco on and 60 m).
std::vector<std::string> expectedRowNames(uint16_t version, bool service)
{
    const bool extended = version >= 0x4700;
    std::vector<std::string> names = {
        "Decimal/point*", "Metric/Imperial*", "HigResInDisplay*", "Backlight brightness*", "Backlight offlevel*",
        "HUD brightness*", "Setpoint surface*", "Setpoint depth*", "DIL size (liter)*", "DIL pressure (bar)*",
        extended ? "DIL O2 part (%)*" : "DIL O2 part (%)", extended ? "DIL HE part (%)*" : "DIL HE part (%)",
        "DIL N2 part (%)", "Oxygen size (liter)", "Oxygen pressure (bar)", "Oxygen part (%)*",
        "Counter lung volume (liter)", "RMV value (liter)", "vdot 02 damping", "RTC time (UTC)*"};
    if (version >= 0x4922)
        names.push_back("Service time (UTC)");
    names.push_back("TimeToFly time (UTC)");
    names.push_back("Mouthpiece pos");
    if (extended) {
        for (const char* n : {"O2 sensor 1 (mV)", "O2 sensor 2 (mV)", "Battery SR", "Depth limit (m)",
                              "Deco enabled*", "Max TimeToSurface (min)*"})
            names.push_back(n);
    }
    if (version >= 0x4925)
        for (const char* n : {"OTU value", "Battery type", "E-module type", "System mode"})
            names.push_back(n);
    if (service)
        for (const char* n : {"Reset servicedate*", "Reset tissuetension*", "Reset cumulation OTU level*"})
            names.push_back(n);
    return names;
}

// The rows of an info output: the lines after the six info values.
std::vector<std::pair<std::string, std::string>> rowsOf(const std::string& out)
{
    std::vector<std::pair<std::string, std::string>> rows;
    auto lines = splitLines(out);
    size_t at = 0;
    while (at < lines.size() && lines[at].rfind("HUD\t", 0) != 0)
        ++at;
    for (++at; at < lines.size(); ++at) {
        size_t tab = lines[at].find('\t');
        rows.emplace_back(lines[at].substr(0, tab), tab == std::string::npos ? "" : lines[at].substr(tab + 1));
    }
    return rows;
}

TEST(CliInfoSim, EveryFamilyPrintsItsRows)
{
    for (const Family& f : kFamilies) {
        for (bool service : {false, true}) {
            CliRun cli;
            std::vector<std::string> args = {"--link", std::string("sim:") + f.preset, "--unit", "1234"};
            if (service)
                args.insert(args.end(), {"--service-code", "RAVO", "--service-cdata", serviceCdata()});
            args.push_back("info");
            auto result = cli.run(args);
            ASSERT_EQ(result.exitCode, 0) << f.preset << "\n" << result.out << result.err;
            std::vector<std::string> names;
            for (const auto& row : rowsOf(result.out))
                names.push_back(row.first);
            EXPECT_EQ(names, expectedRowNames(f.version, service)) << f.preset;
            auto lines = splitLines(result.out);
            EXPECT_EQ(lines[1], "Read software versions");
        }
    }
}

TEST(CliInfoSim, ValuesOfTheStatusPreset)
{
    CliRun cli;
    auto result = cli.run({"--link", "sim:fw4925", "--unit", "1234", "info"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    sim::SimState state;
    ASSERT_TRUE(sim::presetState("fw4925", state));
    auto rows = rowsOf(result.out);
    auto value = [&](const std::string& name) {
        for (const auto& r : rows)
            if (r.first == name || r.first == name + "*")
                return r.second;
        return std::string("<missing>");
    };
    EXPECT_EQ(value("System mode"), "Pre dive test : Test number 7 : Error 3");
    EXPECT_EQ(value("Battery type"), "60m Trimix (White)");
    EXPECT_EQ(value("DIL HE part (%)"), "35");
    EXPECT_EQ(value("DIL O2 part (%)"), "21");
    EXPECT_EQ(value("HUD brightness"), std::to_string(state.settings.hudBrightness * 25));
    char serial[8];
    std::snprintf(serial, sizeof serial, "%04X", state.settings.batterySerial);
    EXPECT_EQ(value("Battery SR"), serial);
    EXPECT_EQ(value("OTU value"), "123");
    auto lines = splitLines(result.out);
    char voltage[32];
    std::snprintf(voltage, sizeof voltage, "Voltage\t%0.3f", state.batteryMillivolts * 0.001);
    EXPECT_NE(std::find(lines.begin(), lines.end(), voltage), lines.end());
}

// The dead O2 cell is read in-process with fast link time: its missing reply
// would cost the command line 2.5 s of real waiting.
TEST(CliInfoSim, LowBatteryEndsAfterTheVersions)
{
    CliRun cli;
    auto result = cli.run({"--link", "sim:low-battery", "--unit", "1234", "info"});
    EXPECT_EQ(result.exitCode, 1);
    auto lines = splitLines(result.out);
    ASSERT_GE(lines.size(), 4u) << result.out;
    EXPECT_EQ(lines[3], "Voltage outside range, please charge battery and try again");
    EXPECT_EQ(result.out.find("Reading settings list"), std::string::npos);
    EXPECT_TRUE(rowsOf(result.out).empty());
}

struct SetCase {
    const char* name;
    const char* value;
    const char* shown;  // the row's value after the re-read; null: not checked here
    bool extendedOnly;
};

const SetCase kSetCases[] = {
    {"Decimal/point", "point", "point", false},
    {"Metric/Imperial", "IMPERIAL", "imperial", false},
    {"HigResInDisplay", "Temperature", "temperature", false},
    {"Backlight brightness", "50", "49", false},  // 127 on the wire, read back as 49
    {"Backlight offlevel", "25", "25", false},
    {"HUD brightness", "60", "50", false},
    {"Setpoint surface", "0.6", "0.6", false},
    {"Setpoint depth", "1.4", "1.4", false},
    {"DIL size (liter)", "12", "12.0", false},
    {"DIL pressure (bar)", "250", "250", false},
    {"DIL O2 part (%)", "20", "20", true},
    {"DIL HE part (%)", "10", "10", true},
    {"Oxygen part (%)", "95", "95", false},
    {"RTC time (UTC)", "now", nullptr, false},
    {"Deco enabled", "off", "No", true},
    {"Max TimeToSurface (min)", "45", "45", true},
    {"Reset servicedate", "RESET", "RESET", false},
    {"Reset tissuetension", "reset", "RESET", false},
    {"Reset cumulation OTU level", "RESET", "RESET", false},
};

TEST(CliSetSim, EveryEditableRowOfEveryFamily)
{
    for (const Family& f : kFamilies) {
        for (const SetCase& c : kSetCases) {
            if (c.extendedOnly && f.version < 0x4700)
                continue;
            CliRun cli;
            auto result = cli.run({"--link", std::string("sim:") + f.preset, "--unit", "1234", "--service-code",
                                   "RAVO", "--service-cdata", serviceCdata(), "set", c.name, c.value});
            ASSERT_EQ(result.exitCode, 0) << f.preset << " " << c.name << "\n" << result.out << result.err;
            auto lines = splitLines(result.out);
            ASSERT_FALSE(lines.empty());
            const std::string prefix = std::string(c.name) + "*\t";
            ASSERT_EQ(lines.back().rfind(prefix, 0), 0u) << f.preset << ": " << lines.back();
            if (c.shown) {
                EXPECT_EQ(lines.back().substr(prefix.size()), c.shown) << f.preset << " " << c.name;
            }
        }
    }
}

TEST(CliSetSim, ClockIsSetToNow)
{
    CliRun cli;
    auto result = cli.run({"--link", "sim:fw4925", "--unit", "1234", "set", "rtc time (utc)", "now"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    std::string shown = splitLines(result.out).back().substr(std::string("RTC time (UTC)*\t").size());
    std::tm parts{};
    std::istringstream in(shown);
    in >> std::get_time(&parts, "%Y-%m-%d %H:%M:%S");
    ASSERT_FALSE(in.fail()) << shown;
    using namespace std::chrono;
    sys_seconds utc = sys_days(year(parts.tm_year + 1900) / (parts.tm_mon + 1) / parts.tm_mday) +
                      hours(parts.tm_hour) + minutes(parts.tm_min) + seconds(parts.tm_sec);
    long difference = long(utc.time_since_epoch().count()) - long(std::time(nullptr));
    EXPECT_LE(std::labs(difference), 60) << shown;
}

TEST(CliSetSim, FirstMapUnitHasNoDecoRow)
{
    CliRun cli;
    auto result = cli.run({"--link", "sim:fw4512", "--unit", "1234", "set", "Deco enabled", "On"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Unknown setting \"Deco enabled\"\n");
}

TEST(CliSetSim, ClampedValuesAndReadOnlyRows)
{
    CliRun cli;
    auto result = cli.run({"--link", "sim:fw4925", "--unit", "1234", "set", "Oxygen part (%)", "3"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(splitLines(result.out).back(), "Oxygen part (%)*\t92");
    EXPECT_NE(result.err.find("\"3\" is not kept as typed: the range is 92..100"), std::string::npos) << result.err;
    result = cli.run({"--link", "sim:fw4925", "--unit", "1234", "set", "HUD brightness", "150"});
    EXPECT_EQ(splitLines(result.out).back(), "HUD brightness*\t100");
    EXPECT_NE(result.err.find("the range is 0..100  step 25"), std::string::npos) << result.err;
    result = cli.run({"--link", "sim:fw4925", "--unit", "1234", "set", "HUD brightness", "75"});
    EXPECT_EQ(result.err, "") << "a value kept as typed needs no notice";
    result = cli.run({"--link", "sim:fw4925", "--unit", "1234", "set", "Battery SR", "1"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Can not be changed\n");
    result = cli.run({"--link", "sim:fw4925", "--unit", "1234", "--service-code", "RAVO", "--service-cdata",
                      serviceCdata(), "set", "Battery SR", "1"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Can not be changed\n");
}

TEST(CliPowerDownSim, SwitchesTheUnitOff)
{
    CliRun cli;
    auto result = cli.run({"--link", "sim:fw4925", "--unit", "1234", "power-down"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(splitLines(result.out).back(), "Power down sent to unit 1234");
}

}  // namespace
}  // namespace ravo::test

namespace ravo::test {
namespace {

TEST(CliServiceCode, TakenFromALocalManifestFile)
{
    CliRun cli;
    const std::string manifest = cli.home.file("ravo_config.xml");
    writeFile(manifest, "<ravo>\r\n<ravo_config><win><name>Ravo_Config</name><version><string>v1.35</string>"
                        "</version><cdata> " + serviceCdata() + " </cdata></win></ravo_config>\r\n</ravo>\r\n");
    auto on = cli.run({"--link", "sim:fw4925", "--unit", "1234", "--service-code", "RAVO", "--manifest", manifest,
                       "info"});
    ASSERT_EQ(on.exitCode, 0) << on.err;
    EXPECT_EQ(on.err, "");
    EXPECT_NE(on.out.find("\nReset cumulation OTU level*\tRESET\n"), std::string::npos) << on.out;

    auto wrong = cli.run({"--link", "sim:fw4925", "--unit", "1234", "--service-code", "ravo", "--manifest", manifest,
                          "info"});
    EXPECT_EQ(wrong.err, "Service code not accepted: service mode stays off\n");
    EXPECT_EQ(wrong.out.find("Reset"), std::string::npos);

    const std::string noCode = cli.home.file("no_code.xml");
    writeFile(noCode, "<ravo><ravo_config><win><name>x</name></win></ravo_config></ravo>");
    auto empty = cli.run({"--link", "sim:fw4925", "--unit", "1234", "--service-code", "", "--manifest", noCode,
                          "info"});
    EXPECT_EQ(empty.err, "No service code to check --service-code against: service mode stays off\n");

    auto missing = cli.run({"--link", "sim:fw4925", "--unit", "1234", "--service-code", "RAVO", "--manifest",
                            cli.home.file("absent.xml"), "info"});
    EXPECT_EQ(missing.err, "Can not read the manifest file " + cli.home.file("absent.xml") +
                               " (the file does not exist)\nNo service code to check --service-code against: service mode stays off\n");
    EXPECT_EQ(missing.exitCode, 0) << "the command still runs";
}

}  // namespace
}  // namespace ravo::test
