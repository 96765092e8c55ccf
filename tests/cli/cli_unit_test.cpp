// ravo-cli against the simulated unit in its own process: honest exit codes,
// progress by records, --quiet, set by prefix and row texts, the trace.
#include <gtest/gtest.h>

#include <regex>

#include "cli_run.h"

namespace ravo::test {
namespace {

TEST(CliUnit, ConnectChecksThatTheUnitNumberAnswers)
{
    CliHome cli;
    ProgramResult ok = cli.sim({"connect"});
    EXPECT_EQ(ok.exitCode, 0) << ok.err;
    EXPECT_EQ(ok.out, "Connect to unit 1234 [Simulated unit (00-00-00-01)]\nSoftware\t49b25\n");

    ProgramResult other = cli.run({"--link", "sim", "--unit", "4321", "connect"});
    EXPECT_EQ(other.exitCode, 1);
    EXPECT_EQ(other.out,
              "Connect to unit 4321 [Simulated unit (00-00-00-01)]\nNo responce from unit. Please, check unit nr.\n");
    ProgramResult quiet = cli.run({"--quiet", "--link", "sim", "--unit", "4321", "connect"});
    EXPECT_EQ(quiet.exitCode, 1);
    EXPECT_EQ(quiet.out, "");
    EXPECT_TRUE(contains(quiet.err, "No responce from unit. Please, check unit nr.")) << quiet.err;
}

TEST(CliUnit, AFailedInfoPrintsTheJobsLinesAndNoValuesThatWereNotRead)
{
    CliHome cli;
    ProgramResult r = cli.run({"--link", "sim", "--unit", "4321", "info"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "Connect to unit 4321 [Simulated unit (00-00-00-01)]\nRead software versions\n"
                     "No responce from unit. Please, check unit nr.\n");

    ProgramResult low = cli.run({"--link", "sim:low-battery", "--unit", "1234", "info"});
    EXPECT_EQ(low.exitCode, 1);
    EXPECT_TRUE(contains(low.out, "Voltage outside range, please charge battery and try again\n")) << low.out;
    // The versions and the voltage were read; the settings were not.
    EXPECT_TRUE(contains(low.out, "Voltage\t3.499\n")) << low.out;
    EXPECT_FALSE(contains(low.out, "HUD brightness")) << low.out;
}

TEST(CliUnit, AnEmptyDiveListMustComeFromAUnitThatAnswers)
{
    CliHome cli;
    ProgramResult silent = cli.run({"--link", "sim", "--unit", "4321", "dives"});
    EXPECT_EQ(silent.exitCode, 1);
    EXPECT_TRUE(contains(silent.out, "No responce from unit. Please, check unit nr.\n")) << silent.out;
    ProgramResult none = cli.run({"--link", "sim:no-logs", "--unit", "1234", "dives"});
    EXPECT_EQ(none.exitCode, 0) << none.out;
}

TEST(CliUnit, DiveDownloadShowsABarByRecordsAndPrintsFullPaths)
{
    CliHome cli;
    ProgramResult r = cli.sim({"dive", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> lines = splitLines(r.out);
    ASSERT_GE(lines.size(), 2u);
    const std::string base = joinFolder(cli.home.file("dive"), "KTL_SN1234_");
    EXPECT_EQ(lines[lines.size() - 2].rfind(base, 0), 0u) << lines[lines.size() - 2];
    EXPECT_TRUE(std::regex_match(lines.back(), std::regex(".*[/\\\\]dive[/\\\\]KTL_SN1234_[-_0-9]+_O\\.csv"))) << lines.back();
    EXPECT_TRUE(contains(r.err, "/30 records")) << r.err;
    EXPECT_TRUE(contains(r.err, "100%  30/30 records  ")) << r.err;
    EXPECT_TRUE(std::regex_search(r.err, std::regex("(-- rec/s  --:--|[0-9]+ rec/s  [0-9]+:[0-9]{2}) left")))
        << r.err;

    ProgramResult quiet = cli.sim({"--quiet", "dive", "1"});
    ASSERT_EQ(quiet.exitCode, 0);
    EXPECT_EQ(quiet.err, "");
    EXPECT_EQ(splitLines(quiet.out).size(), 2u) << quiet.out;
}

TEST(CliUnit, NewDivesShareOneBarCountedInRecordsOfAllDives)
{
    CliHome cli;
    ProgramResult r = cli.sim({"dives", "--new"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // The default unit's four dives: 1200, 30, 3000 and 480 records.
    EXPECT_TRUE(contains(r.err, "/4710 records")) << r.err.substr(0, 400);
    EXPECT_TRUE(contains(r.err, "4710/4710 records")) << r.err.substr(r.err.size() > 400 ? r.err.size() - 400 : 0);
    EXPECT_EQ(splitLines(cli.sim({"--quiet", "dives", "--new"}).out).size(), 0u);
}

TEST(CliSet, TakesAUniquePrefixAndListsTheCandidatesOfAnAmbiguousOne)
{
    CliHome cli;
    ProgramResult hud = cli.sim({"set", "hud", "50"});
    EXPECT_EQ(hud.exitCode, 0) << hud.err;
    EXPECT_TRUE(contains(hud.out, "HUD brightness*\t50\n")) << hud.out;

    ProgramResult ambiguous = cli.sim({"set", "dil", "10"});
    EXPECT_EQ(ambiguous.exitCode, 1);
    EXPECT_TRUE(contains(ambiguous.err, "\"dil\" may mean several settings:\n")) << ambiguous.err;
    EXPECT_TRUE(contains(ambiguous.err, "  DIL size (liter)\n")) << ambiguous.err;
    EXPECT_TRUE(contains(ambiguous.err, "  DIL pressure (bar)\n")) << ambiguous.err;
    EXPECT_FALSE(contains(ambiguous.out, "DIL size (liter)*\t")) << "nothing was set";
}

TEST(CliSet, YesNoRowsTakeTheTextsTheRowShows)
{
    CliHome cli;
    ProgramResult imperial = cli.sim({"set", "Metric/Imperial", "imperial"});
    EXPECT_EQ(imperial.exitCode, 0) << imperial.err;
    EXPECT_TRUE(contains(imperial.out, "Metric/Imperial*\timperial\n")) << imperial.out;
    ProgramResult choice = cli.sim({"set", "metric", "Imperial"});
    EXPECT_TRUE(contains(choice.out, "Metric/Imperial*\timperial\n")) << choice.out;
    ProgramResult deco = cli.sim({"set", "deco", "No"});
    EXPECT_EQ(deco.exitCode, 0) << deco.err;
    EXPECT_TRUE(contains(deco.out, "Deco enabled*\tNo\n")) << deco.out;
    ProgramResult wrong = cli.sim({"set", "deco", "maybe"});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_TRUE(contains(wrong.err, "\"On\" or \"Off\" (or \"Yes\" / \"No\")")) << wrong.err;
}

TEST(CliTrace, ADiveDownloadCanBeFollowedRequestByRequest)
{
    CliHome cli;
    const std::string path = cli.home.file("trace.txt");
    ASSERT_EQ(cli.sim({"--trace", "trace.txt", "dive", "1"}).exitCode, 0);
    std::vector<std::string> lines = splitLines(readFile(path));
    ASSERT_GT(lines.size(), 6u);
    const std::regex stamp("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} .*");
    for (const std::string& line : lines)
        EXPECT_TRUE(std::regex_match(line, stamp)) << line;
    EXPECT_TRUE(contains(lines[1], " -- open sim")) << lines[1];
    EXPECT_TRUE(contains(lines[2], " -- connected to Simulated unit (00-00-00-01)")) << lines[2];
    EXPECT_TRUE(contains(lines[3], " TX UNIT_CMD_GET_DIVE_INFO unit 1234 len 2 | FA 34 12 0D 02 01 00 ")) << lines[3];
    EXPECT_TRUE(contains(lines[4], " RX UNIT_CMD_GET_DIVE_INFO unit 1234 len 10 | FA 34 12 0D 0A ")) << lines[4];
    int dataRequests = 0, dataReplies = 0;
    for (const std::string& line : lines) {
        dataRequests += contains(line, " TX UNIT_CMD_GET_DIVE_DATA unit 1234 len 4 | ");
        dataReplies += contains(line, " RX UNIT_CMD_GET_DIVE_DATA unit 1234 len ");
    }
    EXPECT_EQ(dataRequests, 2);  // 30 records: 25 and 5
    EXPECT_EQ(dataReplies, 2);
    EXPECT_TRUE(contains(lines.back(), " -- close")) << lines.back();

    const std::string trace = joinFolder(joinFolder(cli.home.file("no"), "such"), "t.txt");
    ProgramResult unwritable = cli.sim({"--trace", trace, "connect"});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(contains(unwritable.err, "Can not write the trace file " + trace))
        << unwritable.err;
}

}  // namespace
}  // namespace ravo::test
