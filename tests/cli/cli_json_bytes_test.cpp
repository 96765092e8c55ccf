// --json never aborts on bytes that are not UTF-8: every command that prints
// a document is run with folders and files whose names hold such a byte, and
// its document must parse, give the text with U+FFFD and the name losslessly
// percent-encoded beside it.
#include <gtest/gtest.h>

#include <filesystem>

#include <nlohmann/json.hpp>

#include "cli_run.h"
#include "support/http_server.h"

namespace ravo::test {
namespace {

using nlohmann::json;

const std::string kOdd = "\xff";             // not UTF-8
const std::string kReplaced = "\xEF\xBF\xBD";  // U+FFFD

json parsed(const ProgramResult& r)
{
    EXPECT_EQ(r.exitCode, 0) << r.err;
    json doc = json::parse(r.out, nullptr, false);
    EXPECT_FALSE(doc.is_discarded()) << r.out;
    return doc;
}

std::string replaced(std::string text)
{
    for (size_t at; (at = text.find(kOdd)) != std::string::npos;)
        text.replace(at, 1, kReplaced);
    return text;
}

// The test folders' names are plain ASCII apart from the odd byte.
std::string encoded(std::string text)
{
    for (size_t at; (at = text.find(kOdd)) != std::string::npos;)
        text.replace(at, 1, "%FF");
    return text;
}

// Windows names are UTF-16: a narrow name's bytes go through the code page,
// so a byte that is not UTF-8 never reaches a folder's name there.
#ifdef _WIN32
#define SKIP_WITHOUT_BYTE_NAMES() GTEST_SKIP() << "Windows file names are UTF-16; no name holds a byte that is not UTF-8"
#else
#define SKIP_WITHOUT_BYTE_NAMES() (void)0
#endif

// A home whose dive and firmware folders hold the odd byte.
struct OddHome : CliHome {
    std::string dives = home.file("d" + kOdd + "ive");
    std::string firmware = home.file("f" + kOdd + "irmware");

    OddHome()
    {
        EXPECT_EQ(run({"config", "set", "DIVEFOLDER", dives}).exitCode, 0);
        EXPECT_EQ(run({"config", "set", "FWFOLDER", firmware}).exitCode, 0);
    }
};

TEST(CliJsonBytes, ConfigAndFirmwareListGiveTheNamesBothWays)
{
    SKIP_WITHOUT_BYTE_NAMES();
    OddHome cli;
    json config = parsed(cli.run({"--json", "config"}));
    EXPECT_EQ(config["entries"]["KTLS/DIVEFOLDER"], replaced(cli.dives));
    EXPECT_EQ(config["entries"]["KTLS/DIVEFOLDERBytes"], encoded(cli.dives));
    EXPECT_FALSE(config["entries"].contains("KTLS/METRICBytes")) << "only names that need it";

    std::filesystem::create_directories(cli.firmware);
    writeFile(joinFolder(cli.firmware, "A" + kOdd + ".enc"), "00");
    json list = parsed(cli.run({"--json", "firmware", "list"}));
    EXPECT_EQ(list["folder"], replaced(cli.firmware));
    EXPECT_EQ(list["folderBytes"], encoded(cli.firmware));
    ASSERT_EQ(list["files"].size(), 1u);
    EXPECT_EQ(list["files"][0]["name"], "A" + kReplaced + ".enc");
    EXPECT_EQ(list["files"][0]["nameBytes"], "A%FF.enc");
    EXPECT_EQ(list["files"][0]["pathBytes"], encoded(joinFolder(cli.firmware, "A" + kOdd + ".enc")));
}

TEST(CliJsonBytes, DownloadsListingsAndShowAfterTheFilesWereSaved)
{
    SKIP_WITHOUT_BYTE_NAMES();
    OddHome cli;
    json one = parsed(cli.sim({"--json", "dive", "1"}));
    ASSERT_EQ(one["filesBytes"].size(), 2u) << one;
    EXPECT_EQ(one["filesBytes"][1].get<std::string>().rfind(encoded(cli.dives), 0), 0u) << one;

    json fresh = parsed(cli.sim({"--json", "dives", "--new"}));
    EXPECT_EQ(fresh["newDives"], 3);
    EXPECT_EQ(fresh["filesBytes"].size(), 6u) << fresh;
    EXPECT_EQ(fresh["files"].size(), 6u);

    json box = parsed(cli.sim({"--json", "redbox", "0", "--out", joinFolder(cli.dives, "box.cvsr")}));
    ASSERT_EQ(box["filesBytes"].size(), 1u) << box;

    EXPECT_EQ(parsed(cli.sim({"--json", "dives"})).size(), 4u);
    EXPECT_EQ(parsed(cli.sim({"--json", "redbox"})).size(), 3u);

    json listed = parsed(cli.run({"--json", "saved"}));
    EXPECT_EQ(listed["folder"], replaced(cli.dives));
    EXPECT_EQ(listed["folderBytes"], encoded(cli.dives));
    ASSERT_EQ(listed["units"][0]["logs"].size(), 4u);
    const std::string stamp = listed["units"][0]["logs"][0]["log"];
    EXPECT_EQ(listed["units"][0]["logs"][0]["partial"], false);

    json shown = parsed(cli.run({"--json", "show", "1234", stamp}));
    EXPECT_EQ(shown["filesBytes"].size(), 2u);
    EXPECT_EQ(shown["partial"], false);
}

TEST(CliJsonBytes, AServedVersionThatIsNotUtf8IsReplacedNotFatal)
{
    CliHome cli;
    HttpServer server;
    HttpRoute manifest;
    manifest.body = "<ravo><ravo_config><win><file>https://updates.varnholm.example/R" + kOdd +
                    ".exe</file><version><string>v1.3" + kOdd + "</string></version></win></ravo_config></ravo>";
    server.route("/ravo_config.xml", manifest);
    json update = parsed(cli.run({"--json", "check-update", "--url", server.url("/ravo_config.xml")}));
    EXPECT_EQ(update["publishedVersion"], "v1.3" + kReplaced);
    EXPECT_EQ(update["downloadLocation"], "https://updates.varnholm.example/R" + kReplaced + ".exe");
}

// A code shown in hexadecimal stays the text shown; numbers stay numbers.
TEST(CliJsonBytes, TheBatterySerialIsTheTextTheListShows)
{
    CliHome cli;
    const std::string scenario = cli.home.file("serial.json");
    writeFile(scenario, R"({"preset": "fw4925", "settings": {"batterySerial": "0x0123"}})");
    json doc = parsed(cli.run({"--json", "--link", "sim:" + scenario, "--unit", "1234", "info"}));
    std::map<std::string, json> values;
    for (const json& row : doc["settings"])
        values[row["name"]] = row["value"];
    EXPECT_EQ(values["Battery SR"], "0123");
    EXPECT_EQ(values["HUD brightness"], 75);
}

}  // namespace
}  // namespace ravo::test
