#include <gtest/gtest.h>

#include "settings/setting_encoding.h"

namespace ravo {
namespace {

TEST(SettingEncoding, BacklightBothWays)
{
    struct Row {
        uint8_t raw;
        int32_t percent;
    } reads[] = {{0, 0}, {1, 0}, {2, 0}, {3, 1}, {127, 49}, {128, 50}, {254, 99}, {255, 100}, {64, 25}};
    for (const Row& r : reads)
        EXPECT_EQ(backlightPercentFromRaw(r.raw), r.percent) << int(r.raw);
    struct Write {
        int32_t percent;
        uint8_t raw;
    } writes[] = {{0, 0}, {1, 3}, {25, 64}, {49, 125}, {50, 127}, {99, 252}, {100, 255}};
    for (const Write& w : writes)
        EXPECT_EQ(backlightRawFromPercent(w.percent), w.raw) << w.percent;
}

TEST(SettingEncoding, HudSteps)
{
    EXPECT_EQ(hudPercentFromRaw(0), 0);
    EXPECT_EQ(hudPercentFromRaw(2), 50);
    EXPECT_EQ(hudPercentFromRaw(4), 100);
    EXPECT_EQ(hudPercentFromRaw(0xFFFF), int32_t(uint16_t(0xFFFF * 25)));  // kept to 16 bits
    EXPECT_EQ(hudRawFromPercent(60), 2);
    EXPECT_EQ(hudRawFromPercent(100), 4);
}

TEST(SettingEncoding, ScaledTruncationTowardZero)
{
    EXPECT_EQ(truncatedScaled(0.57, 100), 56);
    EXPECT_EQ(truncatedScaled(1.15, 100), 114);
    EXPECT_EQ(truncatedScaled(1.4, 100), 140);
    EXPECT_EQ(truncatedScaled(199.9, 10), 1999);
    EXPECT_DOUBLE_EQ(hundredths(120), 1.2);
    EXPECT_DOUBLE_EQ(tenths(57), 5.7);
    EXPECT_DOUBLE_EQ(thousandths(3500), 3.5);
}

TEST(SettingEncoding, UnitEpoch)
{
    EXPECT_EQ(unitTimeFromUnix(946684800), 0u);
    EXPECT_EQ(unitTimeFromUnix(946684800 + 86400), 86400u);
}

}  // namespace
}  // namespace ravo
