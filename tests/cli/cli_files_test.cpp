// Saved logs and firmware files: every message names the full path.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_run.h"

namespace ravo::test {
namespace {

TEST(CliShow, AMissingLogNamesTheFolderWithoutTheReadersText)
{
    CliHome cli;
    ProgramResult r = cli.run({"show", "1234", "2012-05-06_14-22-33_O"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(contains(r.err, "No saved dive 1234 2012-05-06_14-22-33_O in " + cli.home.file("dive"))) << r.err;
    EXPECT_TRUE(contains(r.err, joinFolder(cli.home.file("dive"), "KTL_SN1234_2012-05-06_14-22-33_O.csv"))) << r.err;
    EXPECT_FALSE(contains(r.err, "CDiveHeaderOrangebox")) << r.err;
}

TEST(CliShow, AFileThatIsNoDiveLogIsReportedNotSummarised)
{
    CliHome cli;
    std::filesystem::create_directories(cli.home.path() + "/dive");
    const std::string base = joinFolder(cli.home.file("dive"), "KTL_SN1234_2012-05-06_14-22-33_O");
    writeFile(base + ".txt", "Ravo_Config v1.35\r\n");
    writeFile(base + ".csv", "1,8,20\r\n2,8,21\r\n<html>not samples</html>\r\n");
    ProgramResult r = cli.run({"show", "1234", "2012-05-06_14-22-33_O"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(contains(r.err, base + ".csv is not a dive log sample file (line 3")) << r.err;

    writeFile(base + ".csv", "1,8,20\r\n\r\n2,8,21\r\n");
    ProgramResult good = cli.run({"show", "1234", "2012-05-06_14-22-33_O"});
    EXPECT_EQ(good.exitCode, 0) << good.err;
    EXPECT_TRUE(contains(good.out, "Dive info: unit 1234 (records 2)")) << good.out;
}

TEST(CliFirmwareFlash, RefusesWhatIsNotAReadableRegularFile)
{
    CliHome cli;
    std::filesystem::create_directories(cli.home.path() + "/firmware/folder.enc");
    ProgramResult folder = cli.run({"--link", "sim", "--unit", "1234", "firmware", "flash", "firmware/folder.enc"});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_EQ(folder.out,
              "Firmware file [" + joinFolder(cli.home.file("firmware"), "folder.enc") + "] refused: it is a folder, not a file\n");

    ProgramResult missing = cli.run({"--link", "sim", "--unit", "1234", "firmware", "flash", "none.enc"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "File [" + cli.home.file("none.enc") + "] not found\n");
}

}  // namespace
}  // namespace ravo::test
