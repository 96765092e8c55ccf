#include <gtest/gtest.h>

#include "divedata/log_list_rows.h"

using namespace ravo;

TEST(UnitLogListRows, AnEntryNotReadIsARowThatSaysSo)
{
    std::vector<CDiveInfo> directory(3);
    for (uint16_t i = 0; i < 3; ++i) {
        directory[i].valid = 1;
        directory[i].index = i;
        directory[i].unitNumber = 0x1A2B;
    }
    directory[1].clear();
    directory[0].recordCount = 1500;
    directory[2].startTime = 1336314153 - 946684800;
    UnitLogListRows rows;
    rows.Fill(directory, 0x1A2B);
    ASSERT_EQ(rows.rowCount(), 3);
    EXPECT_STREQ(UnitLogListRows::kColumnHeaders[0], "UTC");
    EXPECT_STREQ(UnitLogListRows::kColumnHeaders[1], "Size");
    EXPECT_EQ(rows.cellText(0, 0), "2000-01-01 00:00:00");
    EXPECT_EQ(rows.cellText(0, 1), "1500");
    EXPECT_EQ(rows.cellText(1, 0), "could not be read");
    EXPECT_EQ(rows.cellText(1, 1), "");
    EXPECT_EQ(rows.cellText(2, 0), "2012-05-06 14:22:33");
    EXPECT_EQ(rows.cellText(2, 1), "0");
    // The row not read keeps its index and unit, so it can be asked for again.
    ASSERT_NE(rows.doubleClickRequest(1, false), nullptr);
    EXPECT_EQ(rows.doubleClickRequest(1, false)->index, 1);
    EXPECT_EQ(rows.doubleClickRequest(1, false)->unitNumber, 0x1A2Bu);
    EXPECT_FALSE(rows.doubleClickRequest(1, false)->valid);
    EXPECT_EQ(rows.doubleClickRequest(2, false)->index, 2);
    EXPECT_EQ(rows.entryForRow(3), nullptr);
    EXPECT_EQ(rows.entryForRow(-1), nullptr);
    EXPECT_EQ(rows.cellText(5, 0), "");
    EXPECT_EQ(rows.doubleClickRequest(1, true), nullptr);
    EXPECT_EQ(rows.doubleClickRequest(3, false), nullptr);
    EXPECT_EQ(rows.doubleClickRequest(-1, false), nullptr);
}

TEST(UnitLogListRows, UnreadEntriesAreNamed)
{
    EXPECT_EQ(UnreadEntriesText({}, false), "");
    EXPECT_EQ(UnreadEntriesText({3}, false), "Dive entry 3 could not be read from the unit");
    EXPECT_EQ(UnreadEntriesText({0, 5}, true), "Redbox entries 0, 5 could not be read from the unit");
}

TEST(UnitLogListRows, EmptyDirectoryAndRefill)
{
    UnitLogListRows rows;
    rows.Fill({}, 0);
    EXPECT_EQ(rows.rowCount(), 0);
    std::vector<CDiveInfo> one(1);
    one[0].valid = 1;
    rows.Fill(one, 0);
    rows.Fill(one, 0);
    EXPECT_EQ(rows.rowCount(), 1);
    rows.Reset();
    EXPECT_EQ(rows.rowCount(), 0);
}
