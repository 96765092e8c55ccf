#include <gtest/gtest.h>

#include <filesystem>

#include "support/posix_facilities.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

// ravo-cli started in a folder that was deleted: its folders and its log go
// to the home folder, and it says so; nothing lands in the file system root.
TEST(StartFolder, DeletedStartFolderFallsBackToHome)
{
    if (!ravo::test::havePosixFacilities())
        GTEST_SKIP() << "Windows does not let the folder a program runs in be deleted";
    ravo::test::TempDir home;
    const std::string gone = home.file("gone");
    std::filesystem::create_directory(gone);
    const bool rootHadDive = std::filesystem::exists("/dive");
    const bool rootHadLog = std::filesystem::exists("/loggfile.txt");
    auto r = ravo::test::runProgram(
        "/bin/sh", {"-c", "cd \"$1\" && rmdir \"$1\" && exec \"$2\" saved", "sh", gone, RAVO_CLI_PATH},
        {{"HOME", home.path()}, {"XDG_CONFIG_HOME", home.path()}});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("The start folder cannot be read; using " + home.path() + " instead."), std::string::npos)
        << r.err;
    EXPECT_TRUE(std::filesystem::is_directory(home.file("dive")));
    EXPECT_TRUE(std::filesystem::exists(home.file("loggfile.txt")));
    if (!rootHadDive) {
        EXPECT_FALSE(std::filesystem::exists("/dive"));
    }
    if (!rootHadLog) {
        EXPECT_FALSE(std::filesystem::exists("/loggfile.txt"));
    }
}
