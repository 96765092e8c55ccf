// Directory entries the unit does not answer: ravo-cli against its simulated
// unit retries each entry, and one that still fails is listed as not read,
// named, put in --json and fails the run; nothing says "done" or "all saved"
// while the unit holds a dive that was not listed.
#include <gtest/gtest.h>

#include <filesystem>

#include <nlohmann/json.hpp>

#include "tests/cli/cli_run.h"

namespace ravo::test {
namespace {

using nlohmann::json;

// A unit of three dives (and three redbox logs) whose every `ignoreEntryEvery`th
// directory entry request goes unanswered.
std::string unit(const CliHome& cli, int ignoreEntryEvery)
{
    const std::string path = cli.home.file("unit" + std::to_string(ignoreEntryEvery) + ".json");
    writeFile(path, R"({"preset": "no-logs",
        "diveLogs": [{"generate": "dive", "records": 40, "seed": 1, "startTime": 849200000},
                     {"generate": "dive", "records": 60, "seed": 2, "startTime": 849300000},
                     {"generate": "dive", "records": 30, "seed": 3, "startTime": 849400000}],
        "redboxLogs": [{"generate": "redbox", "records": 3}, {"generate": "redbox", "records": 4},
                       {"generate": "redbox", "records": 5}],
        "faults": {"ignoreEntryEvery": )" + std::to_string(ignoreEntryEvery) + "}}");
    return path;
}

ProgramResult runOn(const CliHome& cli, const std::string& scenario, std::vector<std::string> args)
{
    args.insert(args.begin(), {"--link", "sim:" + scenario, "--unit", "1234"});
    return cli.run(args);
}

size_t savedFiles(const CliHome& cli)
{
    const std::string folder = cli.home.file("dive");
    if (!std::filesystem::is_directory(folder))
        return 0;
    size_t count = 0;
    for (const auto& item : std::filesystem::directory_iterator(folder))
        count += item.path().extension() == ".csv";
    return count;
}

TEST(UnreadEntries, EveryEntryUnansweredIsListedNamedAndFails)
{
    CliHome cli;
    const std::string scenario = unit(cli, 1);

    ProgramResult listed = runOn(cli, scenario, {"dives"});
    EXPECT_EQ(listed.exitCode, 1);
    EXPECT_TRUE(contains(listed.out, "Read divelog info 0 - failed\n")) << listed.out;
    EXPECT_FALSE(contains(listed.out, "... done")) << listed.out;
    EXPECT_TRUE(contains(listed.out, "Read divelog info ... incomplete: 3 of 3 entries not read\n"));
    EXPECT_TRUE(contains(listed.out, "0\tcould not be read\t\n1\tcould not be read\t\n2\tcould not be read\t\n"));
    EXPECT_TRUE(contains(listed.err, "Dive entries 0, 1, 2 could not be read from the unit")) << listed.err;

    ProgramResult asJson = runOn(cli, scenario, {"--json", "dives"});
    EXPECT_EQ(asJson.exitCode, 1);
    const json rows = json::parse(asJson.out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2]["index"], 2);
    EXPECT_EQ(rows[2]["read"], false);
    EXPECT_TRUE(rows[2]["start"].is_null());

    ProgramResult fresh = runOn(cli, scenario, {"dives", "--new"});
    EXPECT_EQ(fresh.exitCode, 1);
    EXPECT_TRUE(contains(fresh.err, "Dive entries 0, 1, 2 could not be read from the unit")) << fresh.err;
    EXPECT_EQ(savedFiles(cli), 0u);

    ProgramResult freshJson = runOn(cli, scenario, {"--json", "dives", "--new"});
    EXPECT_EQ(freshJson.exitCode, 1);
    EXPECT_EQ(json::parse(freshJson.out)["unread"], json::array({0, 1, 2}));

    ProgramResult redbox = runOn(cli, scenario, {"redbox"});
    EXPECT_EQ(redbox.exitCode, 1);
    EXPECT_TRUE(contains(redbox.out, "Read redbox info 0 - failed\n")) << redbox.out;
    EXPECT_TRUE(contains(redbox.out, "0\tcould not be read\t\n")) << redbox.out;
    EXPECT_TRUE(contains(redbox.err, "Redbox entries 0, 1, 2 could not be read from the unit")) << redbox.err;
    const json boxes = json::parse(runOn(cli, scenario, {"--json", "redbox"}).out);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0]["read"], false);
}

// Every third entry request lost: each is asked again, and every dive is
// listed and saved.
TEST(UnreadEntries, ALostEntryRequestIsAskedAgain)
{
    CliHome cli;
    const std::string scenario = unit(cli, 3);
    ProgramResult listed = runOn(cli, scenario, {"--json", "dives"});
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    const json rows = json::parse(listed.out);
    ASSERT_EQ(rows.size(), 3u);
    for (const json& row : rows)
        EXPECT_EQ(row["read"], true);
    EXPECT_EQ(rows[1]["records"], 60);

    ProgramResult fresh = runOn(cli, scenario, {"dives", "--new"});
    EXPECT_EQ(fresh.exitCode, 0) << fresh.err;
    EXPECT_TRUE(contains(fresh.err, "3 new dive(s), 0 already saved")) << fresh.err;
    EXPECT_EQ(savedFiles(cli), 3u);

    ProgramResult redbox = runOn(cli, scenario, {"redbox"});
    EXPECT_EQ(redbox.exitCode, 0) << redbox.err;
    EXPECT_TRUE(contains(redbox.out, "Read redboxlog info ... done\n"));
}

// The flaky link of the shipped scenario (noise, corrupt and lost replies,
// short data): every dive is listed and every one is saved.
TEST(UnreadEntries, AFlakyLinkListsAndSavesEveryDive)
{
    CliHome cli;
    const std::string scenario = std::string(RAVO_SOURCE_DIR) + "/sim/scenarios/flaky-link.json";
    ProgramResult fresh = runOn(cli, scenario, {"--json", "dives", "--new"});
    EXPECT_EQ(fresh.exitCode, 0) << fresh.err;
    EXPECT_TRUE(contains(fresh.err, "4 new dive(s), 0 already saved")) << fresh.err;
    const json document = json::parse(fresh.out);
    EXPECT_EQ(document["newDives"], 4);
    EXPECT_EQ(document["unread"], json::array());
    EXPECT_EQ(document["files"].size(), 8u);
    EXPECT_EQ(savedFiles(cli), 4u);
}

}  // namespace
}  // namespace ravo::test
