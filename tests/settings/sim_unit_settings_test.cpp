#include <gtest/gtest.h>

#include "jobs/work_task.h"
#include "link/clock.h"
#include "jobs/worker_edit_host.h"
#include "settings/settings_rows.h"
#include "sim/sim_registration.h"
#include "sim/sim_transport.h"
#include "support/recording_receiver.h"

namespace ravo::test {
namespace {

// The worker against the simulated unit in this process, link time fast.
struct SimBench {
    explicit SimBench(const std::string& preset, uint16_t unitNumber = 0x1234)
    {
        sim::registerSimTransport();
        sim::forgetSimUnits();
        worker.link.setAddress("sim:" + preset);
        worker.link.setClock(&clock);
        worker.unitNumber = unitNumber;
        std::string error;
        unit = sim::simUnitFor(preset, error);
    }
    ~SimBench()
    {
        worker.link.Close();
        worker.link.setClock(nullptr);
        sim::forgetSimUnits();
    }
    void run(int job)
    {
        worker.start(job, &receiver);
        worker.waitFinished(20000);
    }

    ScaledClock clock{40.0};
    WorkTask worker;
    RecordingReceiver receiver;
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
    bench.run(JOB_READ_INFO);
    EXPECT_EQ(bench.worker.settings.valid, 1);
    EXPECT_EQ(bench.worker.settings.o2Sensor2mV, -1);
    EXPECT_GE(bench.worker.settings.o2Sensor1mV, 0);
}

TEST(SimUnitSettings, WrongUnitNumberGetsNoResponce)
{
    SimBench bench("fw4925", 0x4321);
    bench.run(JOB_READ_INFO);
    EXPECT_EQ(bench.receiver.lines().back(), "No responce from unit. Please, check unit nr.");
    EXPECT_EQ(bench.worker.settings.valid, 0);
}

TEST(SimUnitSettings, TheUnitHoldsWhatWasWritten)
{
    SimBench bench("fw4925");
    ASSERT_TRUE(bench.unit);
    bench.worker.keepLinkOpen = true;
    bench.run(JOB_READ_INFO);
    ASSERT_EQ(bench.worker.settings.valid, 1);
    UnitSettings record = bench.worker.settings;
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

    bench.run(JOB_READ_SETTINGS);
    EXPECT_EQ(bench.worker.settings.hudBrightness, 50);
    EXPECT_EQ(bench.worker.settings.dilHePercent, 35);
}

}  // namespace
}  // namespace ravo::test
