#include <gtest/gtest.h>

#include "divedata/log_list_rows.h"

using namespace ravo;

TEST(UnitLogListRows, InvalidEntriesLeaveNoGap)
{
    std::vector<CDiveInfo> directory(3);
    for (uint16_t i = 0; i < 3; ++i) {
        directory[i].valid = 1;
        directory[i].index = i;
        directory[i].unitNumber = 0x1A2B;
    }
    directory[1].valid = 0;
    directory[0].recordCount = 1500;
    directory[2].startTime = 1336314153 - 946684800;
    UnitLogListRows rows;
    rows.Fill(directory);
    ASSERT_EQ(rows.rowCount(), 2);
    EXPECT_STREQ(UnitLogListRows::kColumnHeaders[0], "UTC");
    EXPECT_STREQ(UnitLogListRows::kColumnHeaders[1], "Size");
    EXPECT_EQ(rows.cellText(0, 0), "2000-01-01 00:00:00");
    EXPECT_EQ(rows.cellText(0, 1), "1500");
    EXPECT_EQ(rows.cellText(1, 0), "2012-05-06 14:22:33");
    EXPECT_EQ(rows.cellText(1, 1), "0");
    ASSERT_NE(rows.entryForRow(1), nullptr);
    EXPECT_EQ(rows.entryForRow(1)->index, 2);
    EXPECT_EQ(rows.entryForRow(2), nullptr);
    EXPECT_EQ(rows.entryForRow(-1), nullptr);
    EXPECT_EQ(rows.cellText(5, 0), "");
    ASSERT_NE(rows.doubleClickRequest(1, false), nullptr);
    EXPECT_EQ(rows.doubleClickRequest(1, false)->index, 2);
    EXPECT_EQ(rows.doubleClickRequest(1, true), nullptr);
    EXPECT_EQ(rows.doubleClickRequest(2, false), nullptr);
    EXPECT_EQ(rows.doubleClickRequest(-1, false), nullptr);
}

TEST(UnitLogListRows, EmptyDirectoryAndRefill)
{
    UnitLogListRows rows;
    rows.Fill({});
    EXPECT_EQ(rows.rowCount(), 0);
    std::vector<CDiveInfo> one(1);
    one[0].valid = 1;
    rows.Fill(one);
    rows.Fill(one);
    EXPECT_EQ(rows.rowCount(), 1);
    rows.Reset();
    EXPECT_EQ(rows.rowCount(), 0);
}
