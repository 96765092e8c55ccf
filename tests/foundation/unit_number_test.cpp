#include <gtest/gtest.h>

#include "link/unit_number.h"

TEST(UnitNumber, Parse)
{
    using ravo::parseUnitNumber;
    EXPECT_EQ(parseUnitNumber(" 12ab "), 0x12AB);
}
