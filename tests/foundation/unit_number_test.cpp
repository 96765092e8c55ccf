#include <gtest/gtest.h>

#include "app/app_config.h"
#include "jobs/job_codes.h"
#include "link/unit_number.h"

using ravo::AppConfig;
using ravo::parseUnitNumber;

TEST(UnitNumber, ParseRules)
{
    struct Row {
        const char* text;
        uint16_t number;
    } rows[] = {
        {" 12ab ", 0x12AB}, {"1234", 0x1234}, {"ABCDE", 0xABCD}, {"0000", 0xFFFF}, {"", 0xFFFF},
        {"XYZ", 0xFFFF},    {"12*", 0x0012},  {"*", 0xFFFF},     {"0x12", 0x0012}, {"\t00aB\n", 0x00AB},
        {"FFFF", 0xFFFF},   {"1", 0x0001},    {"12G4", 0x0012},  {"-1", 0xFFFF},   {"10000", 0x1000},
    };
    for (const Row& row : rows)
        EXPECT_EQ(parseUnitNumber(row.text), row.number) << '"' << row.text << '"';
    EXPECT_EQ(ravo::formatUnitNumber(0xAB), "00AB");
}

TEST(UnitNumber, UnitNumberBoxChoosesDownloadMode)
{
    AppConfig config;
    EXPECT_EQ(config.downloadMode, 0);
    config.setUnitNumberText(" 12ab ");
    EXPECT_EQ(config.unitNumberText, "12AB");
    EXPECT_EQ(config.downloadMode, ravo::JOB_FIRMWARE);

    config.setUnitNumberText("bl");
    EXPECT_EQ(config.downloadMode, ravo::JOB_FIRMWARE_BL);
    EXPECT_EQ(config.unitNumberText, "12AB") << "BL keeps the number";

    config.setUnitNumberText("1234*");
    EXPECT_EQ(config.downloadMode, ravo::JOB_FIRMWARE_FORCE);
    EXPECT_EQ(config.unitNumberText, "1234");

    config.setUnitNumberText("12*");
    EXPECT_EQ(config.unitNumberText, "0012");
    EXPECT_EQ(config.downloadMode, ravo::JOB_FIRMWARE_FORCE);

    config.setUnitNumberText("*");
    EXPECT_EQ(config.unitNumberText, "FFFF");
    EXPECT_EQ(config.downloadMode, ravo::JOB_FIRMWARE_FORCE);

    config.setUnitNumberText("ABCDE");
    EXPECT_EQ(config.unitNumberText, "ABCD");
    EXPECT_EQ(config.currentUnitNumber(), 0xABCD);
    for (const char* lost : {"0000", "", "XYZ"}) {
        config.setUnitNumberText(lost);
        EXPECT_EQ(config.unitNumberText, "FFFF") << lost;
        EXPECT_EQ(config.downloadMode, ravo::JOB_FIRMWARE);
    }
}
