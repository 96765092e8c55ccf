#include <gtest/gtest.h>

#include <filesystem>

#include "divedata/sample_csv.h"
#include "firmware/file_util.h"
#include "support/run_program.h"
#include "support/temp_dir.h"
#include "tests/divedata_jobs/fake_unit.h"

namespace ravo::test {
namespace {

constexpr uint32_t kMay6 = 1336314153 - 946684800;  // 2012-05-06 14:22:33 UTC

// ravo-cli in a folder of its own (its dive folder is DIR/dive), talking to a
// unit of scripted logs over a real socket.
class CliLogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        unit.dives = {makeFakeLog(100, 30, 1), makeFakeLog(kMay6, 61, 2)};
        unit.redboxes = {makeFakeLog(5000, 3, 7)};
        peer = std::make_unique<LinkScriptPeer>([this](const ReceivedRequest& r) { return unit.answer(r); });
    }

    ProgramResult cli(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--link", peer->address(), "--unit", "1234"});
        return test::runCliIn(home, args);
    }

    std::string diveFile(const std::string& name) const { return joinFolder(home.file("dive"), name); }

    FakeUnit unit;
    std::unique_ptr<LinkScriptPeer> peer;
    TempDir home;
};

TEST_F(CliLogs, DivesListsTheDirectory)
{
    ProgramResult r = cli({"dives"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Read divelog info 1 (2)\nRead divelog info ... done\n"
                         "0\t2000-01-01 00:01:40\t30\n"
                         "1\t2012-05-06 14:22:33\t61\n"),
              std::string::npos)
        << r.out;
}

TEST_F(CliLogs, DiveDownloadsSavesAndPrintsTheFullPaths)
{
    ProgramResult r = cli({"dive", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string base = "KTL_SN1234_2012-05-06_14-22-33_O";
    const std::string paths = diveFile(base + ".txt") + "\n" + diveFile(base + ".csv") + "\n";
    EXPECT_EQ(r.out.substr(r.out.size() - paths.size()), paths);
    EXPECT_NE(r.out.find("Read dive logdata 1 - 50 (61)\nRead dive logdata ... done\n"), std::string::npos);
    std::vector<CDiveDataRecord> samples;
    ASSERT_EQ(ReadSamplesCsv(diveFile(base + ".csv"), samples), 0);
    std::vector<uint8_t> bytes;
    for (const CDiveDataRecord& s : samples)
        bytes.insert(bytes.end(), {uint8_t(s.time), uint8_t(s.time >> 8), s.kind, s.value});
    EXPECT_EQ(bytes, unit.dives[1].body);
    EXPECT_EQ(readFile(diveFile(base + ".txt")).rfind("Ravo_Config v1.35\r\n\r\n FF FF ", 0), 0u);

    EXPECT_EQ(cli({"dive"}).exitCode, 2);
    EXPECT_EQ(cli({"dive", "-1"}).exitCode, 2);
}

TEST_F(CliLogs, NewDivesAreDownloadedOnce)
{
    ProgramResult first = cli({"dives", "--new"});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_NE(first.out.find(diveFile("KTL_SN1234_2000-01-01_00-01-40_O.csv\n")), std::string::npos) << first.out;
    EXPECT_NE(first.out.find(diveFile("KTL_SN1234_2012-05-06_14-22-33_O.txt\n")), std::string::npos);
    EXPECT_NE(first.err.find("100%"), std::string::npos) << first.err;
    EXPECT_NE(first.err.find("2 new dive(s), 0 already saved"), std::string::npos) << first.err;

    unit.dives.push_back(makeFakeLog(200, 4, 3));
    unit.dataPositions.clear();
    ProgramResult second = cli({"dives", "--new"});
    ASSERT_EQ(second.exitCode, 0) << second.err;
    EXPECT_NE(second.err.find("1 new dive(s), 2 already saved"), std::string::npos) << second.err;
    EXPECT_EQ(unit.dataPositions, std::vector<uint32_t>{0});  // only the new dive's body was read

    ProgramResult saved = cli({"saved"});
    ASSERT_EQ(saved.exitCode, 0);
    EXPECT_EQ(saved.out, "1234\n\t2000-01-01_00-01-40_O\n\t2000-01-01_00-03-20_O\n\t2012-05-06_14-22-33_O\n");
}

TEST_F(CliLogs, ShowPrintsTheSummaryAndWritesTheSvg)
{
    ASSERT_EQ(cli({"dive", "1"}).exitCode, 0);
    ProgramResult r = cli({"show", "1234", "2012-05-06_14-22-33_O", "--svg", home.file("p.svg"), "--size", "640x400"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // 61 records: depth (8) every third record at 0, 30, ... 600 s; temperature otherwise.
    EXPECT_EQ(r.out,
              "Dive info: unit 1234 (records 61)\n"
              "Duration 10.0 minute, with maxDepth of 31.0 meter\n"
              "Temp min 0.75 max 15.25\n");
    std::string svg = readFile(home.file("p.svg"));
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("width=\"640\" height=\"400\""), std::string::npos);
    EXPECT_NE(svg.find("stroke=\"#ffffff\""), std::string::npos) << "the profile line";

    ProgramResult absent = cli({"show", "1234", "2001-01-01_00-00-00_O"});
    EXPECT_EQ(absent.exitCode, 1);
    EXPECT_EQ(absent.out, "");
    EXPECT_NE(absent.err.find("No saved dive 1234 2001-01-01_00-00-00_O in " + home.file("dive")), std::string::npos)
        << absent.err;
    EXPECT_EQ(cli({"show", "1234", "2012-05-06_14-22-33_O", "--size", "big"}).exitCode, 2);
}

TEST_F(CliLogs, RedboxListsAndWritesItsFile)
{
    ProgramResult list = cli({"redbox"});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    EXPECT_NE(list.out.find("Read redbox info 0 of 0\nRead redboxlog info ... done\n0\t2000-01-01 01:23:20\t3\n"),
              std::string::npos)
        << list.out;

    ProgramResult chosen = cli({"redbox", "0", "--out", home.file("box.cvsr")});
    ASSERT_EQ(chosen.exitCode, 0) << chosen.err;
    EXPECT_EQ(chosen.out.substr(chosen.out.size() - home.file("box.cvsr").size() - 1), home.file("box.cvsr") + "\n");
    std::string text = readFile(home.file("box.cvsr"));
    EXPECT_EQ(text.rfind("Ravo_Config v1.35\r\nHEADER:\r\n FF FF 00 00", 0), 0u) << text.substr(0, 60);
    EXPECT_NE(text.find("\r\nDATA:\r\n0,8,7\r\n10,39,8\r\n20,39,9\r\n"), std::string::npos);

    // Without --out: next to the last redbox file, under its proposed name.
    ProgramResult proposed = cli({"redbox", "0"});
    ASSERT_EQ(proposed.exitCode, 0) << proposed.err;
    EXPECT_TRUE(std::filesystem::exists(home.file("KTL_SN1234_2000-01-01_01-23-20_R.cvsr")));
}

TEST_F(CliLogs, SavedWithNothingSavedPrintsNothing)
{
    ProgramResult r = cli({"saved"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
}

}  // namespace
}  // namespace ravo::test
