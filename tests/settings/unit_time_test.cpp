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
