#include <gtest/gtest.h>

#include <cmath>

#include "link/unit_conversions.h"

namespace ravo {
namespace {

TEST(BacklightConversion, ByteToPercent)
{
    const struct {
        uint8_t byte;
        int percent;
    } rows[] = {{0, 0}, {1, 0}, {2, 0}, {3, 1}, {127, 49}, {128, 50}, {254, 99}, {255, 100}};
    for (const auto& row : rows)
        EXPECT_EQ(backlightPercentFromByte(row.byte), row.percent) << int(row.byte);
}

TEST(BacklightConversion, PercentToByte)
{
    const struct {
        int percent;
        uint8_t byte;
    } rows[] = {{0, 0}, {1, 3}, {50, 127}, {99, 252}, {100, 255}, {101, 255}, {-5, 0}};
    for (const auto& row : rows)
        EXPECT_EQ(backlightByteFromPercent(row.percent), row.byte) << row.percent;
}

TEST(HudConversion, WordTimes25KeptTo16Bits)
{
    EXPECT_EQ(hudPercentFromWord(0), 0);
    EXPECT_EQ(hudPercentFromWord(4), 100);
    EXPECT_EQ(hudPercentFromWord(2621), 65525);
    EXPECT_EQ(hudPercentFromWord(2622), 14);  // 65550 kept to 16 bits
    EXPECT_EQ(hudPercentFromWord(0xFFFF), 0xFFE7);
}

TEST(HudConversion, PercentDividedBy25)
{
    EXPECT_EQ(hudWordFromPercent(60), 2);
    EXPECT_EQ(hudWordFromPercent(100), 4);
    EXPECT_EQ(hudWordFromPercent(24), 0);
    EXPECT_EQ(hudWordFromPercent(-30), 0);
}

TEST(TruncatedProduct, TruncatesTowardZero)
{
    const struct {
        double value;
        double factor;
        int32_t wire;
    } rows[] = {
        {1.15, 100, 114}, {1.3, 100, 130}, {0.7, 100, 70}, {2.55, 10, 25}, {12.5, 10, 125},
        {-1.15, 100, -114}, {0.0, 100, 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(truncatedProduct(row.value, row.factor), row.wire) << row.value << " x " << row.factor;
}

TEST(TruncatedProduct, SaturatesAndRejectsNaN)
{
    EXPECT_EQ(truncatedProduct(1e12, 10), INT32_MAX);
    EXPECT_EQ(truncatedProduct(-1e12, 10), INT32_MIN);
    EXPECT_EQ(truncatedProduct(std::nan(""), 10), 0);
}

}  // namespace
}  // namespace ravo
