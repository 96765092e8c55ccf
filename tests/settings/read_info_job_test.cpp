#include <gtest/gtest.h>

#include "jobs/unit_info_steps.h"
#include "scripted_unit.h"
#include "support/job_bench.h"
#include "settings/settings_rows.h"

namespace ravo::test {
namespace {

TEST(ReadInfoJob, FullReadOfAStatusUnit)
{
    UnitBench bench(UnitTable::typical(0x4925));
    bench.readInfo();
    const ReadInfoResult w = bench.info();
    auto lines = bench.receiver.lines();
    const std::vector<std::string> tail(lines.begin() + 1, lines.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"Read software versions", "Read voltage", "Voltage OK (4.10)",
                                              "Reading settings list... wait", "Reading settings list... done",
                                              "Voltage OK (4.10)"}));
    ASSERT_TRUE(w.versions && w.voltage && w.settings);
    EXPECT_EQ(w.versions->mainVersion, 0x49);
    EXPECT_EQ(w.versions->betaNumber, 0x25);
    EXPECT_DOUBLE_EQ(*w.voltage, 4.1);
    const UnitSettings& s = *w.settings;
    EXPECT_EQ(s.valid, 1);
    EXPECT_EQ(s.backlightBrightness, 49);
    EXPECT_EQ(s.backlightOffLevel, 25);
    EXPECT_EQ(s.decimalMode, 0);
    EXPECT_NEAR(s.setpointSurface, 0.7, 1e-9);
    EXPECT_EQ(s.hudBrightness, 50);
    EXPECT_EQ(s.o2Sensor1mV, 45);
    EXPECT_NEAR(s.dilPressure, 232.0, 1e-9);
    EXPECT_EQ(s.mouthpiecePosition, 1);
    EXPECT_EQ(s.hasExtendedInfo, 1);
    EXPECT_NEAR(s.depthLimit, 60.0, 1e-9);
    EXPECT_EQ(s.batterySerial, 0xAB);
    EXPECT_EQ(s.hasServiceTime, 1);
    EXPECT_EQ(s.serviceTime, 790000000u);
    EXPECT_EQ(s.hasStatusInfo, 1);
    EXPECT_EQ(s.batteryType, 5);
    EXPECT_EQ(s.errorCode, 255);
    EXPECT_EQ(s.otuValue, 12);
    EXPECT_EQ(bench.worker.linkForHelpers().unitFirmwareVersion, 0x4925u);

    bool found = false;
    for (const auto& e : bench.receiver.entries())
        if (e.kind == RecordingEvents::Kind::UnitFound) {
            found = true;
            EXPECT_EQ(e.text, "1234");
        }
    EXPECT_TRUE(found);
}

TEST(ReadInfoJob, NoVersionsReplyEndsTheJob)
{
    UnitTable table = UnitTable::typical(0x4925);
    table.reads.erase(UNIT_CMD_GET_VERSIONS);
    UnitBench bench(table);
    bench.readInfo();
    auto lines = bench.receiver.lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.back(), "No responce from unit. Please, check unit nr.");
    EXPECT_FALSE(bench.info().versions) << "no versions, so none are shown";
    EXPECT_FALSE(bench.info().settings);
    EXPECT_TRUE(bench.requestsWith(7).empty()) << "settings not read";
}

TEST(ReadInfoJob, WrongUnitNumberGetsNoReply)
{
    UnitTable table = UnitTable::typical(0x4925);
    table.unitNumber = 0x4321;  // the unit answers under its own number
    UnitBench bench(table);
    bench.unitNumber = 0x1234;
    bench.readInfo();
    EXPECT_EQ(bench.receiver.lines().back(), "No responce from unit. Please, check unit nr.");
}

TEST(ReadInfoJob, VoltageBoundaries)
{
    struct Row {
        std::vector<uint8_t> reply;  // empty: no voltage reply
        std::string line;
        bool settingsRead;
    } rows[] = {
        {le16(3499), "Voltage outside range, please charge battery and try again", false},
        {le16(3500), "Voltage OK (3.50)", true},
        // No voltage reply passes the check; the settings read then misses
        // its own voltage read.
        {{}, "Voltage OK (0.00)", false},
        {le16(1), "Voltage OK (0.00)", true},  // 0.001 V counts as not measured
        {le16(2), "Voltage outside range, please charge battery and try again", false},
    };
    for (const Row& row : rows) {
        UnitTable table = UnitTable::typical(0x4925);
        if (row.reply.empty())
            table.reads.erase(UNIT_CMD_GET_VOLTAGE);
        else
            table.reads[UNIT_CMD_GET_VOLTAGE] = row.reply;
        UnitBench bench(table);
        bench.readInfo();
        auto lines = bench.receiver.lines();
        ASSERT_GE(lines.size(), 4u);
        EXPECT_EQ(lines[3], row.line);
        if (row.reply.empty()) {
            EXPECT_EQ(lines.back(), "Error reading settings value...");
            continue;
        }
        EXPECT_EQ(bench.settings().valid, row.settingsRead ? 1 : 0) << row.line;
        if (!row.settingsRead) {
            EXPECT_EQ(lines.size(), 4u) << "the job ends after the versions";
        }
    }
}

TEST(ReadInfoJob, FirstMapUnitReadsNoExtendedValues)
{
    UnitBench bench(UnitTable::typical(0x4600));
    bench.readInfo();
    const UnitSettings s = bench.settings();
    EXPECT_EQ(s.valid, 1);
    EXPECT_EQ(s.hasExtendedInfo, 0);
    EXPECT_EQ(s.hasServiceTime, 0);
    EXPECT_EQ(s.hasStatusInfo, 0);
    EXPECT_DOUBLE_EQ(s.depthLimit, 40.0);
    EXPECT_EQ(s.batterySerial, 0xFFFF);
    EXPECT_EQ(s.mouthpiecePosition, 1);
    EXPECT_EQ(buildSettingsRows(s, false).size(), 22u);
    EXPECT_EQ(buildSettingsRows(s, true).size(), 25u);
    EXPECT_TRUE(bench.requestsWith(49).empty()) << "no service time asked";
    EXPECT_EQ(bench.requestsWith(62).size(), 1u) << "mouthpiece with the first-map opcode";
}

TEST(ReadInfoJob, ServiceTimeUnitWithoutStatusValues)
{
    UnitBench bench(UnitTable::typical(0x4922));
    bench.readInfo();
    const UnitSettings s = bench.settings();
    EXPECT_EQ(s.valid, 1);
    EXPECT_EQ(s.hasExtendedInfo, 1);
    EXPECT_EQ(s.hasServiceTime, 1);
    EXPECT_EQ(s.serviceTime, 790000000u);
    EXPECT_EQ(s.hasStatusInfo, 0);
    EXPECT_EQ(s.otuValue, 0);
    EXPECT_TRUE(bench.requestsWith(77).empty()) << "no system mode asked";
}

TEST(ReadInfoJob, SilentO2CellReadsMinusOneAndTheReadGoesOn)
{
    UnitTable table = UnitTable::typical(0x4925);
    table.reads.erase(UNIT_CMD_GET_O2_SENSOR1);
    UnitBench bench(table);
    bench.readInfo();
    EXPECT_EQ(bench.settings().valid, 1);
    EXPECT_EQ(bench.settings().o2Sensor1mV, -1);
    EXPECT_EQ(bench.settings().o2Sensor2mV, 47);
}

TEST(ReadInfoJob, OptionalReadsKeepTheirDefaults)
{
    UnitTable table = UnitTable::typical(0x4925);
    table.reads.erase(UNIT_CMD_GET_DEPTH_LIMIT);
    table.reads.erase(UNIT_CMD_GET_BATTERY_SR);
    table.reads.erase(UNIT_CMD_GET_SYSTEM_MODE);
    table.reads[UNIT_CMD_GET_DECO_AVAILABLE] = {0xFF};
    UnitBench bench(table);
    bench.readInfo();
    const UnitSettings s = bench.settings();
    EXPECT_EQ(s.valid, 1);
    EXPECT_DOUBLE_EQ(s.depthLimit, 40.0);
    EXPECT_EQ(s.batterySerial, 0xFFFF);
    EXPECT_EQ(s.errorCode, 0);
    EXPECT_EQ(s.decoAvailable, 0) << "0xFF leaves the field as it was";
}

TEST(ReadInfoJob, RequiredReadFailureAndHandshakeFailure)
{
    {
        UnitTable table = UnitTable::typical(0x4925);
        table.reads.erase(UNIT_CMD_GET_RMV);
        UnitBench bench(table);
        bench.readInfo();
        EXPECT_EQ(bench.receiver.lines().back(), "Error reading settings value...");
        EXPECT_EQ(bench.settings().valid, 0);
        EXPECT_EQ(bench.settings().dilSize, 2.0) << "what was read stays";
    }
    {
        UnitTable table = UnitTable::typical(0x4925);
        table.reads.erase(UNIT_CMD_GET_MOUTHPIECE);
        UnitBench bench(table);
        bench.readInfo();
        EXPECT_EQ(bench.receiver.lines().back(), "Error reading settings value...");
    }
    {
        UnitTable table = UnitTable::typical(0x4925);
        table.answerChallenge = false;
        UnitBench bench(table);
        bench.readInfo();
        EXPECT_EQ(bench.receiver.lines().back(), "User cancel....");
        EXPECT_EQ(bench.settings().valid, 0);
    }
}

TEST(ReadInfoJob, ReadSettingsJobRunsOnlyTheSettingsRead)
{
    UnitBench bench(UnitTable::typical(0x4925));
    bench.readInfo(false, true);
    bench.readInfo(true, true);
    auto lines = bench.receiver.lines();
    EXPECT_EQ(lines.back(), "Reading settings list... done");
    EXPECT_EQ(bench.requestsWith(5).size(), 1u) << "versions read once";
    EXPECT_EQ(bench.settings().valid, 1);
}

TEST(ReadInfoJob, StopBeforeTheVoltageRead)
{
    const UnitTable table = UnitTable::typical(0x4925);
    LinkScriptPeer peer(table.handler());
    JobBench bench;
    bench.link.setAddress(peer.address());
    bench.link.unitNumber = table.unitNumber;
    ASSERT_EQ(bench.link.Open(), 0);
    ASSERT_EQ(bench.link.Connect(), 0);
    bench.stop = true;
    UnitReading reading;
    EXPECT_EQ(ReadVersionsAndVoltage(bench.job, reading), -3);
    EXPECT_EQ(bench.events.lines().back(), "User stopped....");
    EXPECT_TRUE(reading.versions) << "read before the stop";
    EXPECT_FALSE(reading.voltage);
    bench.link.Close();
    EXPECT_EQ(ReadVersionsAndVoltage(bench.job, reading), -1);
    UnitSettings settings;
    EXPECT_EQ(ReadSettings(bench.job, settings), -1);
}

}  // namespace
}  // namespace ravo::test
