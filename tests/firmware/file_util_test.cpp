#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "firmware/file_util.h"
#include "firmware/firmware_list.h"
#include "support/temp_dir.h"

namespace ravo {
namespace {

namespace fs = std::filesystem;

TEST(CreateFolder, CreatesMissingParentsAndReportsExisting)
{
    test::TempDir dir;
    std::string deep = dir.path() + "/one\\two\\";  // both separators, trailing backslash
    EXPECT_EQ(CFileUtil::CreateFolder(deep), 1);
    EXPECT_TRUE(fs::is_directory(dir.path() + "/one/two"));
    EXPECT_EQ(CFileUtil::CreateFolder(dir.path() + "/one/two/"), 0);
    EXPECT_EQ(CFileUtil::CreateFolder(dir.path()), 0);
}

TEST(CreateFolder, ThreeLevelsDeep)
{
    test::TempDir dir;
    EXPECT_EQ(CFileUtil::CreateFolder(dir.path() + "/a/b/c"), 1);
    EXPECT_TRUE(fs::is_directory(dir.path() + "/a/b/c"));
}

TEST(CreateFolder, EmptyPathsAreRefused)
{
    EXPECT_EQ(CFileUtil::CreateFolder(""), -1);
    EXPECT_EQ(CFileUtil::CreateFolder("   "), -1);
    EXPECT_EQ(CFileUtil::CreateFolder("\\\\"), -1);
}

TEST(CreateFolder, ImpossiblePathStillAnswersOne)
{
    test::TempDir dir;
    test::writeFile(dir.file("plain"), "x");
    EXPECT_EQ(CFileUtil::CreateFolder(dir.file("plain") + "/sub"), 1);
    EXPECT_FALSE(fs::is_directory(dir.file("plain") + "/sub"));
}

TEST(FolderOf, CutsTheFileName)
{
    const std::string s(1, kFolderSeparator);
    struct Row {
        std::string path;
        std::string folder;
    };
    const Row rows[] = {
        {"C:\\fw\\new.enc", "C:" + s + "fw"},
        {"/home/u/fw/a.enc", s + "home" + s + "u" + s + "fw"},
        {"  /home/u/fw/a.enc\r\n", s + "home" + s + "u" + s + "fw"},
        {"/home/u/fw/", s + "home" + s + "u" + s + "fw"},  // no dot: a folder already
        {"/home/u/fw", s + "home" + s + "u" + s + "fw"},
        {"a.enc", ""},                                      // no separator: cut at the start
        {".hidden", ".hidden"},  // the dot in first place does not count
        {"", ""},
        {"\\\\", ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CFileUtil::FolderOf(row.path), row.folder) << row.path;
}

TEST(FirmwareList, ListsEncFilesSortedAndCreatesTheFolder)
{
    test::TempDir dir;
    std::string folder = dir.path() + "/firmware";
    FirmwareFileList list;
    list.names = {"stale.enc"};
    EXPECT_EQ(ListFirmwareFiles(list, folder), 0);
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(list.names.empty());
    EXPECT_EQ(list.folder, folder);

    test::writeFile(folder + "/B.enc", "00");
    test::writeFile(folder + "/A.enc", "00");
    test::writeFile(folder + "/C.ENC", "00");
    test::writeFile(folder + "/notes.txt", "x");
    test::writeFile(folder + "/.enc", "x");
    fs::create_directory(folder + "/dir.enc");
    EXPECT_EQ(ListFirmwareFiles(list, folder), 3);
    EXPECT_EQ(list.names, (std::vector<std::string>{"A.enc", "B.enc", "C.ENC"}));
    EXPECT_EQ(firmwareFilePath(list, "A.enc"), folder + kFolderSeparator + "A.enc");
    FirmwareFileList bare;
    EXPECT_EQ(firmwareFilePath(bare, "A.enc"), "A.enc");
}

TEST(FirmwareList, SortedAsAPersonReadsThem)
{
    test::TempDir dir;
    FirmwareFileList list;
    for (const char* name : {"b.enc", "a.enc", "B.enc", "fw_10.enc", "FW_09.enc", "A.enc"})
        test::writeFile(dir.file(name), "0001AA");
    if (std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()) < 6)
        GTEST_SKIP() << "the file system ignores case (Windows): a.enc and A.enc are one file";
    ASSERT_EQ(ListFirmwareFiles(list, dir.path()), 6);
    EXPECT_EQ(list.names, (std::vector<std::string>{"A.enc", "a.enc", "B.enc", "b.enc", "FW_09.enc", "fw_10.enc"}));

    // The default choice is the last name as read, whatever its case.
    for (const char* name : {"A.enc", "b.enc", "FW_09.enc", "fw_10.enc"})
        fs::remove(dir.file(name));
    ASSERT_EQ(ListFirmwareFiles(list, dir.path()), 2);
    EXPECT_EQ(list.names[size_t(defaultFirmwareChoice(list.names, ""))], "B.enc");
}

TEST(FirmwareList, DefaultChoiceFollowsTheUnitView)
{
    std::vector<std::string> names = {"A.enc", "B.enc"};
    EXPECT_EQ(defaultFirmwareChoice(names, ""), 1);
    EXPECT_EQ(defaultFirmwareChoice(names, "<no file avalible>"), 1);
    EXPECT_EQ(defaultFirmwareChoice(names, "a"), 0);
    EXPECT_EQ(defaultFirmwareChoice(names, "A.enc"), 0);
    EXPECT_EQ(defaultFirmwareChoice({}, ""), -1);
}

}  // namespace
}  // namespace ravo
