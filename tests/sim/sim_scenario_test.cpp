#include <gtest/gtest.h>

#include <filesystem>

#include "sim/sim_presets.h"
#include "sim/sim_scenario.h"
#include "support/posix_facilities.h"
#include "support/temp_dir.h"

namespace ravo::sim {
namespace {

TEST(SimScenario, OverridesAPreset)
{
    SimState s;
    std::string error;
    ASSERT_TRUE(loadScenario(R"({
        "preset": "fw4512",
        "unitNumber": "00AB",
        "firmware": "4520",
        "batteryMillivolts": 3700,
        "clock": "0x32A00000",
        "restartMs": 50,
        "o2Cells": [{"millivolts": 12}, {"answers": false}],
        "settings": {"backlightBrightness": 127, "dilHePercent": 20, "serviceTime": 840000000},
        "diveLogs": [
            {"generate": "dive", "records": 25, "seed": 4, "maxDepth": 18, "startTime": 840000000},
            {"startTime": 1, "auxWord": 7, "header": "FFFF0000", "records": "0100081402000827"}
        ],
        "redboxLogs": [{"generate": "redbox", "records": 3, "unitSerial": "FFFF", "layoutLevel": 44}],
        "timing": {"enabled": true, "baud": 9600, "turnaroundMs": 2},
        "faults": {"noiseBytes": 2, "replyUnitNumber": "4321", "chunkFaults": [{"chunk": 3, "answer": "none", "times": 2}]}
    })",
                             s, error))
        << error;
    EXPECT_EQ(s.unitNumber, 0x00AB);
    EXPECT_EQ(s.firmwareVersion(), 0x4520);
    EXPECT_EQ(s.batteryMillivolts, 3700);
    EXPECT_EQ(s.clock, 0x32A00000u);
    EXPECT_EQ(s.restartMs, 50);
    EXPECT_EQ(s.cells[0].millivolts, 12);
    EXPECT_TRUE(s.cells[0].answers);
    EXPECT_FALSE(s.cells[1].answers);
    EXPECT_EQ(s.settings.backlightBrightness, 127);
    EXPECT_EQ(s.settings.dilHePercent, 20);
    EXPECT_EQ(s.settings.rmv, SimSettings{}.rmv) << "untouched settings keep the preset's value";
    ASSERT_EQ(s.diveLogs.size(), 2u);
    EXPECT_EQ(s.diveLogs[0].recordCount(), 25u);
    EXPECT_EQ(s.diveLogs[0].startTime, 840000000u);
    EXPECT_EQ(s.diveLogs[1].auxWord, 7);
    EXPECT_EQ(s.diveLogs[1].records, (std::vector<uint8_t>{1, 0, 8, 0x14, 2, 0, 8, 0x27}));
    EXPECT_EQ(s.diveLogs[1].header[0], 0xFF);
    EXPECT_EQ(s.diveLogs[1].header[4], 0);
    ASSERT_EQ(s.redboxLogs.size(), 1u);
    EXPECT_EQ(s.redboxLogs[0].header[25], 44);
    EXPECT_EQ(s.redboxLogs[0].header[26], 0xFF);
    EXPECT_TRUE(s.timing.enabled);
    EXPECT_EQ(s.timing.baud, 9600);
    EXPECT_EQ(s.faults.noiseBytes, 2);
    EXPECT_EQ(s.faults.replyUnitNumber, 0x4321);
    ASSERT_EQ(s.faults.chunkFaults.size(), 1u);
    EXPECT_EQ(s.faults.chunkFaults[0].answer, -1);
    EXPECT_EQ(s.faults.chunkFaults[0].times, 2);
}

TEST(SimScenario, MistakesAreNamed)
{
    struct Row {
        const char* text;
        const char* expected;
    };
    const Row rows[] = {
        {"{", "not valid JSON"},
        {"[]", "a scenario is a JSON object"},
        {R"({"unitnumber": "1234"})", "\"unitnumber\" is not a scenario field"},
        {R"({"preset": "fw9999"})", "unknown preset \"fw9999\""},
        {R"({"unitNumber": "12345"})", "unitNumber must be at most 65535"},
        {R"({"unitNumber": "12G4"})", "unitNumber is not a number"},
        {R"({"batteryMillivolts": -1})", "batteryMillivolts must not be negative"},
        {R"({"settings": {"rmv": 256}})", "settings.rmv must be at most 255"},
        {R"({"settings": {"colour": 1}})", "settings.colour is not a setting"},
        {R"({"diveLogs": [{"records": "0102"}]})", "diveLogs[0].records must be whole 4-byte records"},
        {R"({"diveLogs": [{"header": "0"}]})", "diveLogs[0].header has an odd number"},
        {R"({"diveLogs": [{"generate": "dive", "records": 99999999}]})", "diveLogs[0].records must be at most"},
        {R"({"faults": {"silence": true}})", "faults.silence is not a fault"},
        {R"({"timing": {"baud": 10}})", "timing.baud must be at least 50"},
        {R"({"o2Cells": [{}]})", "o2Cells must be an array of two cells"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        SimState s;
        std::string error;
        EXPECT_FALSE(loadScenario(row.text, s, error));
        EXPECT_NE(error.find(row.expected), std::string::npos) << error;
        EXPECT_EQ(error.rfind("Scenario: ", 0), 0u);
    }
}

TEST(SimScenario, DumpLoadsBackToTheSameUnit)
{
    SimState s;
    ASSERT_TRUE(presetState("lost-number", s));
    s.settings.rmv = 19;
    s.pendingUnitNumber = 0x1234;
    s.faults.chunkFaults = {{2, 0x44, 3}};
    std::string error;
    SimState back;
    ASSERT_TRUE(loadScenario(stateToJson(s).dump(), back, error)) << error;
    EXPECT_EQ(stateToJson(back), stateToJson(s));
    EXPECT_EQ(back.redboxLogs[0].header, s.redboxLogs[0].header);
    EXPECT_EQ(back.diveLogs[1].records, s.diveLogs[1].records);
    EXPECT_EQ(back.pendingUnitNumber, 0x1234);
}

TEST(SimScenario, ShippedScenariosLoad)
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(RAVO_SOURCE_DIR "/sim/scenarios")) {
        SCOPED_TRACE(entry.path().string());
        SimState s;
        std::string error;
        EXPECT_TRUE(loadScenarioFile(entry.path().string(), s, error)) << error;
        ++count;
    }
    EXPECT_GE(count, 3);
}

TEST(SimScenario, MissingFile)
{
    SimState s;
    std::string error;
    EXPECT_FALSE(loadScenarioFile("/nonexistent/unit.json", s, error));
    EXPECT_NE(error.find("cannot read"), std::string::npos);
}

TEST(SimScenario, APipeOrAFolderIsRefusedWithoutWaiting)
{
    SimState s;
    std::string error;
    test::TempDir dir;
    EXPECT_FALSE(loadScenarioFile(dir.path(), s, error));
    EXPECT_NE(error.find("cannot read"), std::string::npos) << error;
    if (!test::havePosixFacilities())
        GTEST_SKIP() << test::kNeedsPosix;
    const std::string pipe = dir.file("unit.json");
    ASSERT_TRUE(test::makeFifo(pipe));
    // Opening a pipe nobody writes to would wait for ever.
    EXPECT_FALSE(loadScenarioFile(pipe, s, error));
    EXPECT_NE(error.find(pipe), std::string::npos) << error;
}

}  // namespace
}  // namespace ravo::sim
