#include <gtest/gtest.h>

#include <regex>

#include "app/app_log.h"
#include "support/temp_dir.h"

TEST(AppLog, LinesAreStampedTrimmedAndAppendedWithCrLf)
{
    ravo::test::TempDir dir;
    const std::string path = dir.file("loggfile.txt");
    {
        ravo::AppLog log;
        log.open(path);
        ASSERT_TRUE(log.isOpen());
        log.write("Open app");
        log.writef(" \t Firmware download %04X : %s\r\n", 0x12AB, "/fw/a.enc");
    }
    {
        ravo::AppLog log;
        log.open(path);
        log.write("Open app");
    }
    const std::string text = ravo::test::readFile(path);
    std::regex line(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d : ([^\r\n]*)\r\n)");
    std::vector<std::string> messages;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), line); it != std::sregex_iterator(); ++it)
        messages.push_back((*it)[1]);
    EXPECT_EQ(messages, (std::vector<std::string>{"Open app", "Firmware download 12AB : /fw/a.enc", "Open app"}));
    EXPECT_EQ(text.size(), 3 * 22 + 8 + 34 + 8 + 3 * 2) << text;
}

TEST(AppLog, ClosedOrUnopenableLogDropsLinesSilently)
{
    ravo::AppLog log;
    log.write("nothing");
    log.open("/nonexistent-folder/loggfile.txt");
    EXPECT_FALSE(log.isOpen());
    log.writef("%s", std::string(5000, 'x').c_str());
}

TEST(AppLog, LongMessageIsCutAt1023Characters)
{
    ravo::test::TempDir dir;
    {
        ravo::AppLog log;
        log.open(dir.file("log.txt"));
        log.writef("%s", std::string(3000, 'x').c_str());
    }
    EXPECT_EQ(ravo::test::readFile(dir.file("log.txt")).size(), 19 + 3 + 1023 + 2);
}

// Each line is in the file as soon as it is logged: a crash or a kill after
// it must not lose it.
TEST(AppLog, EachLineReachesTheFileAsItIsLogged)
{
    ravo::test::TempDir dir;
    const std::string path = dir.file("loggfile.txt");
    ravo::AppLog log;
    log.open(path);
    log.write("Firmware download 1234 : /fw/a.enc");
    EXPECT_NE(ravo::test::readFile(path).find(" : Firmware download 1234 : /fw/a.enc\r\n"), std::string::npos);
    log.write("UNIT_CMD_FIX_LOST_SR 1234");
    EXPECT_NE(ravo::test::readFile(path).find(" : UNIT_CMD_FIX_LOST_SR 1234\r\n"), std::string::npos);
}
