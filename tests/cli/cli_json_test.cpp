// --json: one document on standard output, read back by a real JSON parser.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include <nlohmann/json.hpp>

#include "cli_run.h"
#include "support/http_server.h"

namespace ravo::test {
namespace {

using nlohmann::json;

// The document on standard output; fails the test when it does not parse.
json parsed(const ProgramResult& r)
{
    EXPECT_EQ(r.exitCode, 0) << r.err;
    json doc = json::parse(r.out, nullptr, false);
    EXPECT_FALSE(doc.is_discarded()) << r.out;
    return doc;
}

const std::string kIsoUtc = "^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ$";

// The findings of the information read: "Warning: " lines first, and the
// same findings in --json, also when the read ends at a low battery.
TEST(CliJson, InfoWarnsOfAFailedTestALowBatteryAndANewerFirmwareFile)
{
    CliHome cli;
    ProgramResult text = cli.run({"--link", "sim:fw4925", "--unit", "1234", "info"});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    const std::string testLine =
        "Warning: Pre dive test failed: test number 7, error 3. Do not dive: put the fault right and run the test "
        "again.\n";
    EXPECT_TRUE(contains(text.out, testLine)) << text.out;
    EXPECT_LT(text.out.find(testLine), text.out.find("Voltage\t")) << text.out;

    ProgramResult low = cli.run({"--json", "--link", "sim:low-battery", "--unit", "1234", "info"});
    EXPECT_EQ(low.exitCode, 1);
    json doc = json::parse(low.out, nullptr, false);
    ASSERT_FALSE(doc.is_discarded()) << low.out;
    EXPECT_FALSE(doc.contains("settings"));
    ASSERT_TRUE(doc["warnings"].is_array());
    EXPECT_EQ(doc["warnings"][0]["severity"], "Danger");
    EXPECT_EQ(doc["warnings"][0]["text"], "Battery low: 3.499 V, below 3.500 V. Charge the battery before the next dive.");

    // A firmware file newer than the unit's firmware, named by its version.
    const std::string folder = cli.home.file("firmware");
    std::filesystem::create_directories(folder);
    writeFile(joinFolder(folder, "RAVO_4A01.enc"), "00");
    ASSERT_EQ(cli.run({"config", "set", "FWFOLDER", folder}).exitCode, 0);
    json fresh = parsed(cli.sim({"--json", "info"}));
    bool named = false;
    for (const json& w : fresh["warnings"])
        named = named || (w["severity"] == "Notice" && contains(w["text"].get<std::string>(), "RAVO_4A01.enc"));
    EXPECT_TRUE(named) << fresh["warnings"].dump();
}

TEST(CliJson, InfoCarriesNumbersAsNumbersAndTimesInIso8601)
{
    CliHome cli;
    json doc = parsed(cli.sim({"--json", "info"}));
    EXPECT_EQ(doc["unit"], "1234");
    EXPECT_DOUBLE_EQ(doc["info"]["Voltage"].get<double>(), 3.95);
    EXPECT_TRUE(doc["info"]["Software"].is_string());
    std::map<std::string, json> values;
    for (const json& row : doc["settings"])
        values[row["name"]] = row["value"];
    EXPECT_EQ(values["HUD brightness"], 75);
    EXPECT_TRUE(values["Setpoint surface"].is_number_float());
    EXPECT_EQ(values["Metric/Imperial"], "metric");
    EXPECT_TRUE(std::regex_match(values["RTC time (UTC)"].get<std::string>(), std::regex(kIsoUtc)))
        << values["RTC time (UTC)"];
}

TEST(CliJson, DirectoriesSavedLogsAndShow)
{
    CliHome cli;
    json dives = parsed(cli.sim({"--json", "dives"}));
    ASSERT_EQ(dives.size(), 4u) << dives;
    EXPECT_EQ(dives[1]["index"], 1);
    EXPECT_EQ(dives[1]["records"], 30);
    EXPECT_TRUE(std::regex_match(dives[1]["start"].get<std::string>(), std::regex(kIsoUtc)));

    json redbox = parsed(cli.sim({"--json", "redbox"}));
    EXPECT_EQ(redbox.size(), 3u) << redbox;

    json saved = parsed(cli.sim({"--json", "dive", "1"}));
    ASSERT_EQ(saved["files"].size(), 2u);
    std::string csv = saved["files"][1];
    EXPECT_TRUE(std::filesystem::exists(csv)) << csv;

    json listed = parsed(cli.run({"--json", "saved"}));
    EXPECT_EQ(listed["folder"], cli.home.file("dive"));
    ASSERT_EQ(listed["units"].size(), 1u);
    EXPECT_EQ(listed["units"][0]["unit"], "1234");
    std::string stamp = listed["units"][0]["logs"][0]["log"];
    EXPECT_EQ(listed["units"][0]["logs"][0]["files"][1], csv);

    json shown = parsed(cli.run({"--json", "show", "1234", stamp}));
    EXPECT_EQ(shown["records"], 30);
    EXPECT_EQ(shown["kind"], "dive");
    EXPECT_TRUE(shown["maxDepthMetres"].is_number());
    EXPECT_TRUE(std::regex_match(shown["start"].get<std::string>(), std::regex(kIsoUtc))) << shown["start"];
    EXPECT_EQ(shown["start"].get<std::string>().substr(0, 10), dives[1]["start"].get<std::string>().substr(0, 10));
}

TEST(CliJson, ACommandWithoutJsonOutputRefusesTheOption)
{
    CliHome cli;
    ProgramResult r = cli.sim({"--json", "connect"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(contains(r.err, "--json: connect has no JSON output")) << r.err;
}

TEST(CliJson, FirmwareListAndCheckUpdate)
{
    CliHome cli;
    std::filesystem::create_directories(cli.home.path() + "/firmware");
    writeFile(cli.home.file("firmware/A.enc"), "00");
    json list = parsed(cli.run({"--json", "firmware", "list"}));
    EXPECT_EQ(list["folder"], cli.home.file("firmware"));
    ASSERT_EQ(list["files"].size(), 1u);
    EXPECT_EQ(list["files"][0]["path"], joinFolder(cli.home.file("firmware"), "A.enc"));
    EXPECT_EQ(list["files"][0]["default"], true);

    HttpServer server;
    HttpRoute manifest;
    manifest.body = "<ravo><ravo_config><win><file>https://updates.varnholm.example/Ravo_Config_136.exe</file>"
                    "<version><string>v1.36</string></version></win></ravo_config></ravo>";
    server.route("/ravo_config.xml", manifest);
    json update = parsed(cli.run({"--json", "check-update", "--url", server.url("/ravo_config.xml")}));
    EXPECT_EQ(update["publishedVersion"], "v1.36");
    EXPECT_EQ(update["ownVersion"], "v1.35");
    EXPECT_EQ(update["newer"], true);
    EXPECT_EQ(update["downloadLocation"], "https://updates.varnholm.example/Ravo_Config_136.exe");
}

}  // namespace
}  // namespace ravo::test
