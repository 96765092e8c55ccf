#include <gtest/gtest.h>

#include "link/unit_time.h"

namespace ravo {
namespace {

TEST(UnitTime, EpochIsTheYear2000)
{
    EXPECT_EQ(unitTimeFromUnix(946684800), 0u);
    EXPECT_EQ(unitTimeFromUnix(946684800 + 86400), 86400u);
    // Now is after 2020 and before the 32-bit end.
    EXPECT_GT(currentUnitTime(), 631152000u);
}

}  // namespace
}  // namespace ravo

namespace ravo {
namespace {

TEST(UnitTime, ParsesWhatItFormats)
{
    for (uint32_t t : {0u, 1336314153u - 946684800u, 86399u, 4102444799u - 946684800u}) {
        uint32_t back = 1;
        ASSERT_TRUE(ParseUnitTime(FormatUnitTime(t), back)) << t;
        EXPECT_EQ(back, t);
    }
    uint32_t stamp = 0;
    ASSERT_TRUE(ParseUnitTime("2012-05-06_14-22-33", stamp));  // as saved log names write it
    EXPECT_EQ(FormatUnitTime(stamp), "2012-05-06 14:22:33");
    ASSERT_TRUE(ParseUnitTime("2024-02-29 00:00:00", stamp));
    for (const char* bad : {"2023-02-29 00:00:00", "2012-13-01 00:00:00", "2012-05-06 24:00:00", "1999-12-31 23:59:59",
                            "2012-05-06 14:22", "2012-05-06_14:22-33", "2012-05-06x14-22-33", "20a2-05-06 14:22:33"})
        EXPECT_FALSE(ParseUnitTime(bad, stamp)) << bad;
}

}  // namespace
}  // namespace ravo
