#include <gtest/gtest.h>

#include "jobs/unit_versions.h"
#include "jobs/unit_view_texts.h"

namespace ravo {
namespace {

const uint8_t kFullReply[15] = {11, 21, 12, 22, 13, 23, 14, 24, 0x03, 0x12, 31, 32, 33, 34, 0x0A};

struct VersionsRow {
    int length;
    UnitVersions expected;
};

UnitVersions make(std::initializer_list<int32_t> f)
{
    // hudSw, hudHw, hudX, dispSw, dispHw, dispX, bpSw, bpHw, bpX, batSw, batHw, batX, main, beta, patch
    int32_t v[15] = {};
    int i = 0;
    for (int32_t x : f)
        v[i++] = x;
    UnitVersions u;
    u.hudSoftware = v[0];
    u.hudHardware = v[1];
    u.hudExtra = v[2];
    u.displaySoftware = v[3];
    u.displayHardware = v[4];
    u.displayExtra = v[5];
    u.backpackSoftware = v[6];
    u.backpackHardware = v[7];
    u.backpackExtra = v[8];
    u.batterySoftware = v[9];
    u.batteryHardware = v[10];
    u.batteryExtra = v[11];
    u.mainVersion = v[12];
    u.betaNumber = v[13];
    u.patchNumber = v[14];
    return u;
}

bool same(const UnitVersions& a, const UnitVersions& b)
{
    return a.hudSoftware == b.hudSoftware && a.hudHardware == b.hudHardware && a.hudExtra == b.hudExtra &&
           a.displaySoftware == b.displaySoftware && a.displayHardware == b.displayHardware &&
           a.displayExtra == b.displayExtra && a.backpackSoftware == b.backpackSoftware &&
           a.backpackHardware == b.backpackHardware && a.backpackExtra == b.backpackExtra &&
           a.batterySoftware == b.batterySoftware && a.batteryHardware == b.batteryHardware &&
           a.batteryExtra == b.batteryExtra && a.mainVersion == b.mainVersion && a.betaNumber == b.betaNumber &&
           a.patchNumber == b.patchNumber;
}

TEST(UnitVersionsDecode, FieldsArrivePairwiseByReplyLength)
{
    const VersionsRow rows[] = {
        {0, make({})},
        {1, make({})},
        {2, make({11, 21})},
        {3, make({11, 21})},
        {4, make({11, 21, 0, 12, 22})},
        {6, make({11, 21, 0, 12, 22, 0, 13, 23})},
        {8, make({11, 21, 0, 12, 22, 0, 13, 23, 0, 14, 24})},
        {9, make({11, 21, 0, 12, 22, 0, 13, 23, 0, 14, 24})},
        // Ten bytes: the four module pairs, main version (byte 9) and beta (byte 8).
        {10, make({11, 21, 0, 12, 22, 0, 13, 23, 0, 14, 24, 0, 0x12, 0x03})},
        {11, make({11, 21, 0, 12, 22, 0, 13, 23, 0, 14, 24, 0, 0x12, 0x03})},
        // Twelve bytes: the extras as far as the payload reaches.
        {12, make({11, 21, 31, 12, 22, 32, 13, 23, 0, 14, 24, 0, 0x12, 0x03})},
        {14, make({11, 21, 31, 12, 22, 32, 13, 23, 33, 14, 24, 34, 0x12, 0x03})},
        {15, make({11, 21, 31, 12, 22, 32, 13, 23, 33, 14, 24, 34, 0x12, 0x03, 0x0A})},
    };
    for (const VersionsRow& row : rows)
        EXPECT_TRUE(same(decodeUnitVersions(kFullReply, row.length), row.expected)) << "length " << row.length;
}

TEST(UnitVersionsDecode, BytesAreUnsignedAndVersionCombinesMainAndBeta)
{
    const uint8_t reply[10] = {0xFF, 0x80, 0, 0, 0, 0, 0, 0, 0x22, 0x49};
    UnitVersions v = decodeUnitVersions(reply, 10);
    EXPECT_EQ(v.hudSoftware, 255);
    EXPECT_EQ(v.hudHardware, 128);
    EXPECT_EQ(v.firmwareVersion(), 0x4922u);
    v.clear();
    EXPECT_EQ(v.firmwareVersion(), 0u);
    EXPECT_EQ(v.hudSoftware, 0);
}

TEST(UnitViewTexts, SoftwareVoltageAndModuleTexts)
{
    UnitVersions v;
    v.mainVersion = 0x12;
    v.betaNumber = 3;
    EXPECT_EQ(softwareVersionText(v), "12b03");
    v.betaNumber = 0;
    v.patchNumber = 10;
    EXPECT_EQ(softwareVersionText(v), "12p0A");
    v.patchNumber = 0;
    EXPECT_EQ(softwareVersionText(v), "12");
    v.betaNumber = 1;
    v.patchNumber = 5;  // the beta number wins
    EXPECT_EQ(softwareVersionText(v), "12b01");

    EXPECT_EQ(voltageText(4.1234), "4.123");
    EXPECT_EQ(voltageText(0), "0.000");
    EXPECT_EQ(moduleVersionText(7, 2), "ver 7  (HW 2)");
}

TEST(UnitViewTexts, SixInfoValuesInViewOrder)
{
    const uint8_t reply[10] = {1, 2, 3, 4, 5, 6, 7, 8, 0x00, 0x47};
    auto values = unitInfoTexts(3.5, decodeUnitVersions(reply, 10));
    ASSERT_EQ(values.size(), 6u);
    EXPECT_EQ(values[0], std::make_pair(std::string("Voltage"), std::string("3.500")));
    EXPECT_EQ(values[1], std::make_pair(std::string("Software"), std::string("ver 47")));
    EXPECT_EQ(values[2], std::make_pair(std::string("Display"), std::string("ver 3  (HW 4)")));
    EXPECT_EQ(values[3], std::make_pair(std::string("Battery"), std::string("ver 7  (HW 8)")));
    EXPECT_EQ(values[4], std::make_pair(std::string("Backpack"), std::string("ver 5  (HW 6)")));
    EXPECT_EQ(values[5], std::make_pair(std::string("HUD"), std::string("ver 1  (HW 2)")));
}

// What was not read shows "--": never a zero that reads like a flat battery
// or a firmware "ver 0".
TEST(UnitViewTexts, ValuesNotReadShowDashes)
{
    for (const auto& [name, value] : unitInfoTexts(std::nullopt, std::nullopt))
        EXPECT_EQ(value, "--") << name;
    const uint8_t reply[10] = {1, 2, 3, 4, 5, 6, 7, 8, 0x00, 0x47};
    auto values = unitInfoTexts(std::nullopt, decodeUnitVersions(reply, 10));
    EXPECT_EQ(values[0].second, "--") << "the unit did not report its voltage";
    EXPECT_EQ(values[1].second, "ver 47");
}

}  // namespace
}  // namespace ravo
