#include <gtest/gtest.h>

#include "jobs/work_task.h"
#include "link/clock.h"
#include "jobs/worker_edit_host.h"
#include "settings/settings_rows.h"
#include "sim/sim_registration.h"
#include "sim/sim_transport.h"
#include "support/recording_events.h"

namespace ravo::test {
namespace {

// The worker against the simulated unit in this process, link time fast.
struct SimBench {
    explicit SimBench(const std::string& preset, uint16_t number = 0x1234) : unitNumber(number)
    {
        sim::registerSimTransport();
        sim::forgetSimUnits();
        worker.setLinkAddress("sim:" + preset);
        worker.setClock(&clock);
        std::string error;
        unit = sim::simUnitFor(preset, error);
    }
    ~SimBench()
    {
        worker.closeLink();
        worker.setClock(nullptr);
        sim::forgetSimUnits();
    }
    // The information read (the settings read alone with `settingsOnly`);
    // the settings it returned, invalid when none.
    UnitSettings readInfo(bool settingsOnly = false)
    {
        receiver.clear();
        worker.start(ReadInfoRequest{unitNumber, settingsOnly, true}, receiver);
        worker.waitFinished(20000);
        const JobOutcome outcome = worker.lastOutcome();
        const ReadInfoResult* read = outcome.as<ReadInfoResult>();
        return read && read->settings ? *read->settings : UnitSettings{};
    }

    uint16_t unitNumber;
    ScaledClock clock{40.0};
    WorkTask worker;
    RecordingEvents receiver;
    std::shared_ptr<sim::SimUnit> unit;
};

struct Answer : SettingEditHost {
    std::string text;
    bool showEditor(const EditorRequest&, std::string& entered) override
    {
        entered = text;
        return true;
    }
    void notice(const std::string&) override {}
    void requestReread() override {}
};

TEST(SimUnitSettings, DeadCellReadsMinusOne)
{
    SimBench bench("dead-cell");
    const UnitSettings settings = bench.readInfo();
    EXPECT_EQ(settings.valid, 1);
    EXPECT_EQ(settings.o2Sensor2mV, -1);
    EXPECT_GE(settings.o2Sensor1mV, 0);
}

TEST(SimUnitSettings, WrongUnitNumberGetsNoResponce)
{
    SimBench bench("fw4925", 0x4321);
    EXPECT_EQ(bench.readInfo().valid, 0);
    EXPECT_EQ(bench.receiver.lines().back(), "No responce from unit. Please, check unit nr.");
}

TEST(SimUnitSettings, TheUnitHoldsWhatWasWritten)
{
    SimBench bench("fw4925");
    ASSERT_TRUE(bench.unit);
    UnitSettings record = bench.readInfo();
    ASSERT_EQ(record.valid, 1);
    Answer host;
    host.text = "60";
    ASSERT_EQ(editSettingOnUnit(bench.worker, ROW_HUD, record, false, host), EditOutcome::Sent);
    EXPECT_EQ(bench.unit->state().settings.hudBrightness, 2);
    host.text = "35";
    record.dilHePercent = 0;
    record.dilN2Percent = 79;
    ASSERT_EQ(editSettingOnUnit(bench.worker, ROW_DIL_HE, record, false, host), EditOutcome::Sent);
    EXPECT_EQ(bench.unit->state().settings.dilHePercent, 35);
    EXPECT_EQ(bench.unit->state().settings.dilN2Percent, 44);
    int before = bench.unit->state().settings.tissueResets;
    host.text = "RESET";
    ASSERT_EQ(editSettingOnUnit(bench.worker, ROW_RESET_TISSUES, record, true, host), EditOutcome::Sent);
    EXPECT_EQ(bench.unit->state().settings.tissueResets, before + 1);

    const UnitSettings now = bench.readInfo(true);
    EXPECT_EQ(now.hudBrightness, 50);
    EXPECT_EQ(now.dilHePercent, 35);
}

}  // namespace
}  // namespace ravo::test
