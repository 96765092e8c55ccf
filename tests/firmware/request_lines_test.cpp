#include <gtest/gtest.h>

#include "jobs/firmware_texts.h"
#include "jobs/job_codes.h"
#include "jobs/request_lines.h"

namespace ravo {
namespace {

TEST(FirmwareRequestLines, ByDownloadMode)
{
    struct Row {
        int mode;
        const char* status;
        const char* log;
    };
    const Row rows[] = {
        {JOB_FIRMWARE, "Firmware download [/fw/a.enc]", "Firmware download 1234 : /fw/a.enc"},
        {JOB_FIRMWARE_BL, "Firmware download BL [/fw/a.enc]", "Firmware download BL 1234 : /fw/a.enc"},
        {JOB_FIRMWARE_FORCE, "Firmware download FORCE [/fw/a.enc]", "Firmware download FORCE 1234 : /fw/a.enc"},
    };
    for (const Row& row : rows) {
        RequestLines lines = firmwareRequestLines(row.mode, 0x1234, "/fw/a.enc");
        EXPECT_EQ(lines.status, row.status);
        EXPECT_EQ(lines.log, row.log);
    }
    EXPECT_EQ(firmwareRequestLines(JOB_FIRMWARE_BL, 0x00AB, "x%s.enc").log, "Firmware download BL 00AB : x%s.enc");
}

TEST(FixSerialLines, OnlyForFFFF)
{
    FixSerialLines lost = fixSerialLines(0xFFFF);
    EXPECT_TRUE(lost.start);
    EXPECT_EQ(lost.lines.status, "Try to fix lost serial number");
    EXPECT_EQ(lost.lines.log, "UNIT_CMD_FIX_LOST_SR FFFF");

    FixSerialLines other = fixSerialLines(0x1234);
    EXPECT_FALSE(other.start);
    EXPECT_EQ(other.lines.status, "Please enter FFFF in serial number field");
    EXPECT_EQ(other.lines.log, "UNIT_CMD_FIX_LOST_SR 1234 - error, serial number is not FFFF");
}

TEST(ElapsedText, HoursMinutesSeconds)
{
    struct Row {
        uint64_t seconds;
        const char* text;
    };
    const Row rows[] = {
        {0, "0 sec"},        {42, "42 sec"},      {59, "59 sec"},     {60, "1:00 min"},
        {75, "1:15 min"},    {3599, "59:59 min"}, {3600, "1:00 h"},   {3725, "1:02 h"},
        {36000 + 59, "10:00 h"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(elapsedText(row.seconds), row.text) << row.seconds;
}

TEST(ChunkAnswerLine, EveryAnswer)
{
    EXPECT_EQ(chunkAnswerLine(0x22, 3), "CRC error by the display");
    EXPECT_EQ(chunkAnswerLine(0x44, 3), "Remote unit reported an error in chunk 3");
    EXPECT_EQ(chunkAnswerLine(0x88, 3), "Error exiting BS mode");
    EXPECT_EQ(chunkAnswerLine(0x05, 3), "Remote unit reported an unkown error (05)");
    EXPECT_EQ(chunkAnswerLine(kNoAnswer, 3), "Remote unit reported an unkown error (FF)");
}

}  // namespace
}  // namespace ravo
