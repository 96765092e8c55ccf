#include <gtest/gtest.h>

#include "firmware/firmware_list.h"
#include "jobs/unit_warnings.h"
#include "jobs/work_task.h"
#include "link/clock.h"
#include "sim/sim_registration.h"
#include "sim/sim_transport.h"
#include "support/recording_events.h"

namespace ravo::test {
namespace {

// The information read of a preset of the simulated unit in this process,
// link time fast; the findings as the unit view and the CLI make them.
UnitWarningFacts readPreset(const std::string& preset)
{
    sim::registerSimTransport();
    sim::forgetSimUnits();
    ScaledClock clock{40.0};
    WorkTask worker;
    RecordingEvents receiver;
    worker.setLinkAddress("sim:" + preset);
    worker.setClock(&clock);
    worker.start(ReadInfoRequest{0x1234, false, false}, receiver);
    worker.waitFinished(20000);
    const JobOutcome outcome = worker.lastOutcome();
    worker.closeLink();
    worker.setClock(nullptr);
    sim::forgetSimUnits();
    UnitWarningFacts facts;
    const ReadInfoResult* read = outcome.as<ReadInfoResult>();
    if (!read)
        return facts;
    facts.voltage = read->voltage;
    facts.versions = read->versions;
    facts.settings = read->settings;
    // Compared with the unit's own clock, so the simulated clock's date
    // does not add a finding of its own.
    facts.settingsReadAt = read->settings ? read->settings->rtcTime : 0;
    return facts;
}

std::vector<std::string> texts(const std::vector<UnitWarning>& warnings, WarningSeverity severity)
{
    std::vector<std::string> out;
    for (const UnitWarning& w : warnings)
        if (w.severity == severity)
            out.push_back(w.text);
    return out;
}

TEST(UnitWarningsOfPresets, EachFaultyUnitSaysWhatIsWrongAndWhatToDo)
{
    EXPECT_EQ(texts(unitWarnings(readPreset("fw4925")), WarningSeverity::Danger),
              std::vector<std::string>{"Pre dive test failed: test number 7, error 3. Do not dive: put the fault "
                                       "right and run the test again."});
    EXPECT_EQ(texts(unitWarnings(readPreset("dead-cell")), WarningSeverity::Danger),
              std::vector<std::string>{"O2 cell 2 does not answer. Do not dive: check the cell and its cable, or "
                                       "replace the cell."});
    // The read stops at the voltage check: the finding comes from the voltage alone.
    const UnitWarningFacts low = readPreset("low-battery");
    EXPECT_FALSE(low.settings && low.settings->valid);
    EXPECT_EQ(texts(unitWarnings(low), WarningSeverity::Danger),
              std::vector<std::string>{"Battery low: 3.499 V, below 3.500 V. Charge the battery before the next dive."});
    // A sound unit has nothing to say, read against its own clock.
    EXPECT_TRUE(unitWarnings(readPreset("default")).empty());
}

TEST(UnitWarningsOfPresets, FirmwareOlderThanTheNewestFileInTheFolder)
{
    UnitWarningFacts facts = readPreset("fw4925");
    facts.settings.reset();
    facts.firmwareFiles = {"RAVO_4922.enc", "notes.enc", "RAVO_4925.enc"};
    EXPECT_TRUE(unitWarnings(facts).empty());
    facts.firmwareFiles.push_back("ravo_4a01.enc");
    EXPECT_EQ(unitWarnings(facts),
              (std::vector<UnitWarning>{{WarningSeverity::Notice,
                                         "The unit's firmware 4925 is older than ravo_4a01.enc in the firmware "
                                         "folder. Install it with a firmware download."}}));
}

UnitWarningFacts wholeRead()
{
    UnitWarningFacts facts;
    UnitSettings s;
    s.valid = 1;
    s.hasExtendedInfo = 1;
    s.hasServiceTime = 1;
    s.hasStatusInfo = 1;
    s.o2Sensor1mV = 44;
    s.o2Sensor2mV = 46;
    s.rtcTime = 800000000;
    s.serviceTime = s.rtcTime - 100 * 86400;
    s.systemMode = 2;
    s.errorCode = 255;
    facts.settings = s;
    facts.settingsReadAt = s.rtcTime;
    facts.voltage = 3.9;
    return facts;
}

TEST(UnitWarningRules, EdgesOfEachRule)
{
    EXPECT_TRUE(unitWarnings(wholeRead()).empty());

    // Band edges of a cell: 30 and 70 mV pass.
    UnitWarningFacts f = wholeRead();
    f.settings->o2Sensor1mV = 30;
    f.settings->o2Sensor2mV = 70;
    EXPECT_TRUE(unitWarnings(f).empty());
    f.settings->o2Sensor1mV = 29;
    f.settings->o2Sensor2mV = 71;
    ASSERT_EQ(unitWarnings(f).size(), 2u);
    EXPECT_EQ(unitWarnings(f)[1].text,
              "O2 cell 2 reads 71 mV, outside 30 to 70 mV. Do not dive: calibrate the cell or replace it.");

    // An error code goes with the test modes only; 255 is no error.
    f = wholeRead();
    f.settings->errorCode = 3;
    EXPECT_TRUE(unitWarnings(f).empty());
    f.settings->systemMode = 0;
    f.settings->testNumber = 39;
    EXPECT_EQ(unitWarnings(f).at(0).text,
              "Power up self test failed: test number 39, error 3. Do not dive: put the fault right and run the "
              "test again.");
    f.settings->errorCode = 255;
    EXPECT_TRUE(unitWarnings(f).empty());

    // Clock: 60 s off passes, 61 s does not.
    f = wholeRead();
    f.settingsReadAt = f.settings->rtcTime + 60;
    EXPECT_TRUE(unitWarnings(f).empty());
    f.settingsReadAt = f.settings->rtcTime + 3661;
    EXPECT_EQ(unitWarnings(f),
              (std::vector<UnitWarning>{{WarningSeverity::Caution,
                                         "The unit's clock is 1 h 1 min 1 s behind the PC's UTC time. Set the "
                                         "unit's clock to now."}}));

    // Service: 728 days after the last one is still in time; unset is due.
    f = wholeRead();
    f.settings->serviceTime = f.settings->rtcTime - 728 * 86400;
    EXPECT_TRUE(unitWarnings(f).empty());
    f.settings->serviceTime -= 1;
    EXPECT_EQ(unitWarnings(f).at(0).severity, WarningSeverity::Caution);
    EXPECT_NE(unitWarnings(f).at(0).text.find("Service date passed"), std::string::npos);
    f.settings->serviceTime = 0xFFFFFFFFu;
    EXPECT_EQ(unitWarnings(f).at(0).text, "The unit holds no service date. Have the unit serviced.");
    f.settings->hasServiceTime = 0;
    EXPECT_TRUE(unitWarnings(f).empty());

    // A read that did not finish says nothing of its settings; the most
    // urgent finding comes first.
    f = wholeRead();
    f.settings->o2Sensor1mV = -1;
    f.settingsReadAt += 3600;
    f.voltage = 3.2;
    const auto all = unitWarnings(f);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[2].severity, WarningSeverity::Caution);
    f.settings->valid = 0;
    EXPECT_EQ(unitWarnings(f).size(), 1u);
    // Not measured (0 V) is not low.
    f.voltage = 0.0;
    EXPECT_TRUE(unitWarnings(f).empty());
}

TEST(UnitWarningRules, FirmwareVersionFromTheFileName)
{
    EXPECT_EQ(firmwareFileVersion("RAVO_4A01.enc"), 0x4A01);
    EXPECT_EQ(firmwareFileVersion("ravo-4925-final.ENC"), 0x4925);
    EXPECT_EQ(firmwareFileVersion("fw 4700 then 4922.enc"), 0x4922);
    EXPECT_EQ(firmwareFileVersion("RAVO49251.enc"), -1);
    EXPECT_EQ(firmwareFileVersion("update.enc"), -1);
    EXPECT_EQ(firmwareFileVersion("RAVO_49G5.enc"), -1);
}

}  // namespace
}  // namespace ravo::test
