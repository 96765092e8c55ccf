// `ravo-cli logbook` over saved files, and `show --svg` of a long dive.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "divedata/dive_log.h"
#include "divedata/figures_cache.h"
#include "firmware/file_util.h"
#include "support/run_program.h"
#include "support/temp_dir.h"
#include "support/test_dives.h"

namespace ravo::test {
namespace {

constexpr uint32_t kMay6 = 1336314153 - 946684800;  // 2012-05-06 14:22:33 UTC

class CliLogbook : public ::testing::Test {
protected:
    CliLogbook()
    {
        save(0xAB, kMay6, {{0, KindDepth, 0}, {60, KindDepth, 40}, {61, KindTemperature, 72}, {2730, KindDepth, 0}});
        save(0xAB, kMay6 + 86400, {{0, KindDepth, 60}, {300, KindDepth, 0}});
        save(0x1A2B, kMay6 - 86400,
             {{0, KindDepth, 80}, {6000, KindDepth, 10}, {13000, KindDepth, 0}, {13320, KindTemperature, 80}});
    }

    void save(uint32_t unit, uint32_t start, std::vector<CDiveDataRecord> samples)
    {
        CDiveLog log = testDive(unit, start, std::move(samples));
        ASSERT_EQ(log.saveDive(home.file("dive")), 0);
    }

    ProgramResult cli(const std::vector<std::string>& args) { return runCliIn(home, args, {{"TZ", "CET-1"}}); }

    TempDir home;
};

TEST_F(CliLogbook, TheTableSortedFilteredAndTotalled)
{
    ProgramResult r = cli({"logbook"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> lines = splitLines(r.out);
    ASSERT_EQ(lines.size(), 5u) << r.out;
    EXPECT_EQ(lines[0].rfind("Unit  Start (UTC)          Start (local)        Duration (min)  Max depth (m)", 0), 0u)
        << lines[0];
    // In start order, the local time an hour on.
    EXPECT_EQ(lines[1].rfind("1A2B  2012-05-05 14:22:33  2012-05-05 15:22:33  222:00", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2].rfind("00AB  2012-05-06 14:22:33  2012-05-06 15:22:33  45:30           20.0           18.00", 0),
              0u)
        << lines[2];
    EXPECT_EQ(lines[4], "3 dives, total time 4:32:30, deepest 40.0 m");
    EXPECT_TRUE(std::filesystem::exists(joinFolder(home.file("dive"), kFiguresCacheName)));

    r = cli({"logbook", "--unit", "ab", "--sort", "depth", "--reverse"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> ab = splitLines(r.out);
    ASSERT_EQ(ab.size(), 4u) << r.out;
    EXPECT_NE(ab[1].find("  30.0  "), std::string::npos) << ab[1];
    EXPECT_NE(ab[2].find("  20.0  "), std::string::npos) << ab[2];
    EXPECT_EQ(ab[3], "2 dives, total time 50:30, deepest 30.0 m");

    r = cli({"logbook", "--sort", "deepness"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("--sort: expected one of unit, start, local, duration, depth"), std::string::npos) << r.err;
}

TEST_F(CliLogbook, JsonWithTheOptionAfterTheCommand)
{
    ProgramResult r = cli({"logbook", "--sort", "duration", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const nlohmann::json doc = nlohmann::json::parse(r.out);
    EXPECT_EQ(doc["sort"], "duration");
    ASSERT_EQ(doc["dives"].size(), 3u);
    const nlohmann::json& shortest = doc["dives"][0];
    EXPECT_EQ(shortest["unit"], "00AB");
    EXPECT_EQ(shortest["log"], "2012-05-07_14-22-33_O");
    EXPECT_EQ(shortest["start"], "2012-05-07T14:22:33Z");
    EXPECT_EQ(shortest["startLocal"], "2012-05-07T15:22:33");
    EXPECT_EQ(shortest["durationSeconds"], 300);
    EXPECT_EQ(shortest["maxDepthMetres"], 30.0);
    EXPECT_FALSE(shortest.contains("lowestTemperature"));
    EXPECT_EQ(shortest["partial"], false);
    EXPECT_EQ(doc["dives"][2]["durationSeconds"], 13320);
    EXPECT_EQ(doc["totals"]["dives"], 3);
    EXPECT_EQ(doc["totals"]["totalSeconds"], 16350);
    EXPECT_EQ(doc["totals"]["deepestMetres"], 40.0);
}

// The SVG of `show` draws a 222-minute dive to its end.
TEST_F(CliLogbook, ShowDrawsALongDiveWhole)
{
    const std::string svg = home.file("long.svg");
    ProgramResult r = cli({"show", "1A2B", "2012-05-05_14-22-33_O", "--svg", svg});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Duration 222.0 minute, with maxDepth of 40.0 meter"), std::string::npos) << r.out;
    // (Surfaced at 13000 s, the log goes on to 13320 s.)
    const std::string picture = readFile(svg);
    EXPECT_NE(picture.find(">222</text>"), std::string::npos);
    // The profile is the last polyline; it ends one pixel inside the frame's
    // right edge (795 at 800 wide), at the surface.
    const size_t line = picture.rfind("<polyline");
    ASSERT_NE(line, std::string::npos);
    const std::string points = picture.substr(line, picture.find("\" stroke=\"", line) - line);
    EXPECT_EQ(points.substr(points.rfind(' ') + 1), "794.5,4.5") << points;
}

}  // namespace
}  // namespace ravo::test
