// Saved logs once the unit is gone: a partial log is marked as such in every
// listing, view and export; junk is never exported as a dive; two dives of
// one start second are both kept. ravo-cli against its simulated unit.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include <nlohmann/json.hpp>

#include "divedata/partial_log.h"
#include "divedata/sample_csv.h"
#include "tests/cli/cli_run.h"

namespace ravo::test {
namespace {

using nlohmann::json;

const std::string kStamp = "2026-11-28_16-53-20_O";  // unit time 849200000

// A unit with one long dive whose link drops after `dropAfter` exchanges (0:
// never), as a scenario file in the test's folder.
std::string scenario(const CliHome& cli, int dropAfter, const std::string& name = "unit.json")
{
    const std::string path = cli.home.file(name);
    writeFile(path, R"({"preset": "no-logs",
        "diveLogs": [{"generate": "dive", "records": 12000, "seed": 5, "startTime": 849200000}],
        "faults": {"dropAfter": )" + std::to_string(dropAfter) + "}}");
    return path;
}

// The dive cut off by a dropped link: saved, marked partial.
PartialMark cutDive(const CliHome& cli, int dropAfter)
{
    ProgramResult r = cli.run({"--link", "sim:" + scenario(cli, dropAfter), "--unit", "1234", "dive", "0"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(contains(r.err, "Dive 0 is incomplete: saved, marked partial.")) << r.err;
    PartialMark mark;
    EXPECT_TRUE(ReadPartialMark(joinFolder(cli.home.file("dive"), "KTL_SN1234_" + kStamp), &mark));
    return mark;
}

TEST(PartialOffline, SavedShowAndExportSayTheLogIsPartial)
{
    CliHome cli;
    const PartialMark mark = cutDive(cli, 60);
    ASSERT_GT(mark.records, 0u);
    ASSERT_EQ(mark.expected, 12000u);
    const std::string held = "records " + std::to_string(mark.records) + " of 12000";

    ProgramResult saved = cli.run({"saved"});
    EXPECT_EQ(saved.out, "1234\n\t" + kStamp + "\tpartial, " + held + "\n");
    json listed = json::parse(cli.run({"--json", "saved"}).out);
    const json& log = listed["units"][0]["logs"][0];
    EXPECT_EQ(log["partial"], true);
    EXPECT_EQ(log["records"], mark.records);
    EXPECT_EQ(log["recordsExpected"], 12000);

    ProgramResult shown = cli.run({"show", "1234", kStamp});
    EXPECT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_TRUE(contains(shown.out, "Dive info: unit 1234 (records " + std::to_string(mark.records) +
                                        ")\nPartial log: " + held + "\n"))
        << shown.out;
    json shownJson = json::parse(cli.run({"--json", "show", "1234", kStamp}).out);
    EXPECT_EQ(shownJson["partial"], true);
    EXPECT_EQ(shownJson["recordsExpected"], 12000);

    for (const char* format : {"csv", "uddf", "svg"}) {
        const std::string out = cli.home.file(std::string("export.") + format);
        ProgramResult r = cli.run({"export", "1234", kStamp, "--format", format, "--out", out});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_TRUE(contains(r.err, "Partial log: " + held)) << r.err;
        EXPECT_TRUE(contains(readFile(out), "Partial log: " + held)) << format;
    }
}

// Text or binary junk in a sample file is refused by export for the reason
// show gives, in every format.
TEST(ExportRefusesJunk, TextAndBinaryJunkAreNoDive)
{
    CliHome cli;
    std::filesystem::create_directories(cli.home.file("dive"));
    const std::string base = joinFolder(cli.home.file("dive"), "KTL_SN1234_" + kStamp);
    for (const std::string& junk : {std::string("<html>no samples</html>\r\n"), std::string("\x7f" "ELF\x02\x01\x01\0\0", 9)}) {
        writeFile(base + ".csv", junk);
        ProgramResult shown = cli.run({"show", "1234", kStamp});
        EXPECT_EQ(shown.exitCode, 1);
        EXPECT_TRUE(contains(shown.err, base + ".csv is not a dive log sample file (line 1 holds no samples)"))
            << shown.err;
        for (const char* format : {"uddf", "csv", "svg", "png"}) {
            const std::string out = cli.home.file(std::string("junk.") + format);
            ProgramResult r = cli.run({"export", "1234", kStamp, "--format", format, "--out", out});
            EXPECT_EQ(r.exitCode, 1) << format;
            EXPECT_TRUE(contains(r.err, base + ".csv is not a dive log sample file (line 1 holds no samples)"))
                << r.err;
            EXPECT_FALSE(contains(r.err, "exported")) << r.err;
            EXPECT_FALSE(std::filesystem::exists(out)) << format;
        }
    }
}

// Two dives of one start second (a unit whose clock stopped): both are saved,
// under two names the listing shows, and a second run finds both saved.
TEST(SameStartSecond, DivesNewKeepsBothAndFindsBothAgain)
{
    CliHome cli;
    const std::string unit = cli.home.file("stopped-clock.json");
    writeFile(unit, R"({"preset": "no-logs", "diveLogs": [
        {"generate": "dive", "records": 600, "seed": 1, "startTime": 849200000},
        {"generate": "dive", "records": 40, "seed": 2, "startTime": 849200000}]})");
    const std::vector<std::string> link = {"--link", "sim:" + unit, "--unit", "1234"};
    auto withLink = [&](std::vector<std::string> args) {
        args.insert(args.begin(), link.begin(), link.end());
        return args;
    };
    ProgramResult r = cli.run(withLink({"dives", "--new"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string first = joinFolder(cli.home.file("dive"), "KTL_SN1234_" + kStamp);
    const std::string second = joinFolder(cli.home.file("dive"), "KTL_SN1234_2026-11-28_16-53-20_2_O");
    // Four files, none printed twice.
    for (const std::string& path : {first + ".txt", first + ".csv", second + ".txt", second + ".csv"}) {
        const size_t at = r.out.find("\n" + path + "\n");
        EXPECT_NE(at, std::string::npos) << path;
        EXPECT_EQ(r.out.find("\n" + path + "\n", at + 1), std::string::npos) << path;
    }
    EXPECT_TRUE(contains(r.err, "another dive that started in the same second; this dive is saved as " + second))
        << r.err;
    std::vector<CDiveDataRecord> samples;
    ASSERT_EQ(ReadSamplesCsv(first + ".csv", samples), 0);
    EXPECT_EQ(samples.size(), 600u);
    ASSERT_EQ(ReadSamplesCsv(second + ".csv", samples), 0);
    EXPECT_EQ(samples.size(), 40u);

    EXPECT_EQ(cli.run({"saved"}).out, "1234\n\t2026-11-28_16-53-20_2_O\n\t" + kStamp + "\n");
    ProgramResult again = cli.run(withLink({"dives", "--new"}));
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_TRUE(contains(again.err, "0 new dive(s), 2 already saved")) << again.err;
    ProgramResult shown = cli.run({"show", "1234", "2026-11-28_16-53-20_2_O"});
    EXPECT_TRUE(contains(shown.out, "(records 40)")) << shown.out;
}

}  // namespace
}  // namespace ravo::test
