#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>

#include "sim/sim_log_generator.h"
#include "sim/sim_presets.h"

namespace ravo::sim {
namespace {

uint32_t u16(const std::array<uint8_t, 256>& h, int at) { return uint32_t(h[size_t(at)] | h[size_t(at) + 1] << 8); }
uint32_t u32(const std::array<uint8_t, 256>& h, int at) { return u16(h, at) | u16(h, at + 2) << 16; }
float f32(const std::array<uint8_t, 256>& h, int at)
{
    uint32_t bits = u32(h, at);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

TEST(SimGenerator, SameSeedSameDive)
{
    DivePlan plan;
    plan.seed = 42;
    plan.records = 500;
    SimLog a = generateDive(plan);
    SimLog b = generateDive(plan);
    EXPECT_EQ(a.records, b.records);
    EXPECT_EQ(a.header, b.header);
    plan.seed = 43;
    EXPECT_NE(generateDive(plan).records, a.records);
}

TEST(SimGenerator, ExactRecordCounts)
{
    for (uint32_t n : {0u, 1u, 30u, 1200u, 12000u}) {
        DivePlan plan;
        plan.records = n;
        EXPECT_EQ(generateDive(plan).recordCount(), n);
    }
}

TEST(SimGenerator, LongDiveIsPlausible)
{
    DivePlan plan;
    plan.seed = 5;
    plan.records = 12000;
    plan.startTime = 849000000;
    plan.maxDepthM = 45;
    SimLog log = generateDive(plan);
    std::set<int> kinds;
    uint32_t lastTime = 0;
    double maxDepth = 0, lastDepth = -1;
    for (size_t i = 0; i < log.records.size(); i += 4) {
        uint32_t t = uint32_t(log.records[i] | log.records[i + 1] << 8);
        int kind = log.records[i + 2];
        int value = log.records[i + 3];
        ASSERT_GE(t, lastTime) << "time order";
        lastTime = t;
        kinds.insert(kind);
        if (kind == 8) {
            maxDepth = std::max(maxDepth, value * 0.5);
            lastDepth = value * 0.5;
        }
        if (kind == 39) {
            EXPECT_GE(value * 0.25, 4.0);
            EXPECT_LE(value * 0.25, 40.0);
        }
        if (kind == 13 || kind == 14) {
            EXPECT_GT(value, 20);
            EXPECT_LE(value, 220);
        }
    }
    EXPECT_TRUE(kinds.count(8) && kinds.count(13) && kinds.count(14) && kinds.count(39));
    EXPECT_GT(kinds.size(), 4u) << "other kinds interleaved";
    EXPECT_NEAR(maxDepth, 45, 1.0);
    EXPECT_LE(lastDepth, 1.0) << "back at the surface";
    EXPECT_LT(lastTime, 65536u);
    EXPECT_EQ(log.auxWord, 450);
}

TEST(SimGenerator, DiveHeaderFieldsArePlausible)
{
    DivePlan plan;
    plan.seed = 9;
    plan.records = 900;
    plan.startTime = 849000000;
    plan.unitNumber = 0x1234;
    plan.softwareVersion = 0x49;
    plan.logNumber = 12;
    const auto& h = generateDive(plan).header;
    EXPECT_EQ(u32(h, 0), 0x0000FFFFu) << "valid marker FF FF 00 00";
    EXPECT_EQ(u32(h, 4), 849000000u);
    EXPECT_GE(u16(h, 8), 1700u);   // O2 170 bar or more
    EXPECT_LE(u16(h, 8), 2000u);
    EXPECT_GE(u16(h, 10), 1800u);
    EXPECT_NEAR(h[12], 70, 2);     // PO2 0.7 bar at the surface
    EXPECT_GE(h[14], 40);
    EXPECT_LE(h[14], 52);
    EXPECT_EQ(h[20], 1);           // closed circuit
    EXPECT_EQ(h[23], 99);
    EXPECT_EQ(h[24], 0x49);
    EXPECT_EQ(u16(h, 27), 0x1234u);
    EXPECT_EQ(u16(h, 29), 12u);
    EXPECT_EQ(h[32] + h[33], 79);
    EXPECT_GE(h[34], 70);
    EXPECT_LE(h[34], 100);
    EXPECT_GE(u16(h, 35), 3850u);
    EXPECT_LE(u16(h, 35), 4150u);
    for (int i = 0; i < 9; ++i) {
        EXPECT_GE(f32(h, 41 + 4 * i), 0.7f);
        EXPECT_LE(f32(h, 41 + 4 * i), 1.0f);
        EXPECT_EQ(f32(h, 77 + 4 * i), 0.0f);
    }
    int32_t interval = int32_t(u32(h, 113));
    EXPECT_GT(interval, 0);
    for (int i = 118; i < 256; ++i)
        EXPECT_EQ(h[size_t(i)], 0);
}

TEST(SimGenerator, RedboxHeader)
{
    RedboxPlan plan;
    plan.unitSerial = 0x1234;
    plan.serviceDate = 831000000;
    plan.startTime = 840000000;
    SimLog log = generateRedbox(plan);
    EXPECT_EQ(u32(log.header, 0), 0x0000FFFFu);
    EXPECT_EQ(u32(log.header, 4), 840000000u);
    EXPECT_GE(log.header[25], 43);
    EXPECT_EQ(u16(log.header, 26), 0x1234u);
    EXPECT_EQ(u32(log.header, 36), 831000000u);
    EXPECT_EQ(log.recordCount(), 60u);
}

TEST(SimPresets, EveryPresetBuilds)
{
    for (const SimPresetInfo& p : simPresets()) {
        SCOPED_TRACE(p.name);
        SimState s;
        ASSERT_TRUE(presetState(p.name, s));
        EXPECT_FALSE(p.description.empty());
        EXPECT_EQ(s.unitNumber, p.name == "lost-number" ? 0xFFFF : 0x1234);
    }
    SimState s;
    EXPECT_FALSE(presetState("nonsense", s));
}

TEST(SimPresets, WhatTheyHold)
{
    SimState s;
    ASSERT_TRUE(presetState("", s));
    EXPECT_EQ(s.firmwareVersion(), 0x4925);
    EXPECT_GE(s.diveLogs.size(), 3u);
    EXPECT_GE(s.redboxLogs.size(), 2u);

    ASSERT_TRUE(presetState("lost-number", s));
    EXPECT_EQ(u16(s.redboxLogs[0].header, 26), 0xFFFFu);
    EXPECT_EQ(u16(s.redboxLogs[1].header, 26), 0x1234u);

    ASSERT_TRUE(presetState("low-battery", s));
    EXPECT_EQ(s.batteryMillivolts, 3499);
    ASSERT_TRUE(presetState("bootloader", s));
    EXPECT_TRUE(s.inBootloader);
    ASSERT_TRUE(presetState("no-logs", s));
    EXPECT_TRUE(s.diveLogs.empty() && s.redboxLogs.empty());
    ASSERT_TRUE(presetState("long-dive", s));
    EXPECT_GE(s.diveLogs[0].recordCount(), 10000u);
    const std::pair<const char*, uint16_t> versions[] = {
        {"fw4005", 0x4005}, {"fw4210", 0x4210}, {"fw4512", 0x4512}, {"fw4700", 0x4700}, {"fw4922", 0x4922}, {"fw4925", 0x4925}};
    for (auto [name, version] : versions) {
        ASSERT_TRUE(presetState(name, s));
        EXPECT_EQ(s.firmwareVersion(), version);
    }
}

}  // namespace
}  // namespace ravo::sim
