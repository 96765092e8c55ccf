#include <gtest/gtest.h>

#include <mutex>

#include "jobs/work_task.h"
#include "jobs/worker_edit_host.h"
#include "link/clock.h"
#include "settings/settings_backup.h"
#include "sim/sim_registration.h"
#include "sim/sim_transport.h"
#include "support/recording_events.h"

namespace ravo::test {
namespace {

// The worker against a simulated unit in this process; the unit's trace
// keeps the opcodes of the requests it received.
struct RestoreBench : WorkerEditHost {
    explicit RestoreBench(const std::string& preset) : WorkerEditHost(worker)
    {
        sim::registerSimTransport();
        sim::forgetSimUnits();
        sim::setSimClock(&clock);
        worker.setLinkAddress("sim:" + preset);
        worker.setClock(&clock);
        std::string error;
        unit = sim::simUnitFor(preset, error);
        unit->setTrace([this](const std::string& line) {
            std::lock_guard<std::mutex> lock(mutex);
            trace.push_back(line);
        });
    }
    ~RestoreBench() override
    {
        unit->setTrace(nullptr);
        worker.closeLink();
        worker.setClock(nullptr);
        sim::forgetSimUnits();
        sim::setSimClock(nullptr);
    }
    // Reads the unit (the settings alone with `settingsOnly`) into `settings`.
    void read(bool settingsOnly = false)
    {
        worker.start(ReadInfoRequest{0x1234, settingsOnly, true}, receiver);
        worker.waitFinished(20000);
        const JobOutcome outcome = worker.lastOutcome();
        const ReadInfoResult* result = outcome.as<ReadInfoResult>();
        settings = result && result->settings ? *result->settings : UnitSettings{};
        ASSERT_EQ(settings.valid, 1);
    }
    // The opcodes of the requests since the last call.
    std::vector<std::string> requests()
    {
        std::lock_guard<std::mutex> lock(mutex);
        std::vector<std::string> ops;
        for (const std::string& line : trace)
            if (line.rfind("request", 0) == 0)
                ops.push_back(line.substr(line.find("op ") + 3, 2));
        trace.clear();
        return ops;
    }

    bool showEditor(const EditorRequest&, std::string&) override { return false; }
    void notice(const std::string& text) override { notices.push_back(text); }
    void requestReread() override { ++rereads; }

    // Virtual time for the worker and the unit, which answers in the worker's
    // thread: the waits take no real time and a busy machine cannot end one.
    ManualClock clock;
    WorkTask worker;
    RecordingEvents receiver;
    UnitSettings settings;
    std::shared_ptr<sim::SimUnit> unit;
    std::mutex mutex;
    std::vector<std::string> trace;
    std::vector<std::string> notices;
    int rereads = 0;
};

std::vector<int> restorableRows(const std::vector<SettingDifference>& differences)
{
    std::vector<int> rows;
    for (const SettingDifference& d : differences)
        if (d.restorable)
            rows.push_back(d.rowId);
    return rows;
}

TEST(RestoreOnUnit, OnlyTheCheckedRowsAreWrittenAndTheUnitHoldsTheFilesValues)
{
    RestoreBench bench("fw4925");
    bench.unit->update([](sim::SimState& s) { s.settings.setpointSurface = 57; });
    bench.read();
    SettingsBackup backup;
    std::string error;
    ASSERT_TRUE(parseSettingsBackup(settingsBackupText(bench.settings, 0x1234, 0x4925, 0), backup, error));

    bench.unit->update([](sim::SimState& s) {
        s.settings.setpointSurface = 60;
        s.settings.hudBrightness = 1;
        s.settings.metric = 0;
        s.settings.oxygenPercent = 95;
    });
    bench.read();
    auto differences = settingsDifferences(bench.settings, backup.record);
    ASSERT_EQ(restorableRows(differences), (std::vector<int>{2, 6, 7, 17}));

    // The user leaves "Oxygen part (%)" unchecked.
    bench.requests();
    UnitSettings record = bench.settings;
    RestoreResult result = restoreSettings(backup.record, {7, 2, 6}, record, bench);
    EXPECT_EQ(result.failure, EditOutcome::Sent);
    EXPECT_EQ(result.written, 3);
    EXPECT_TRUE(result.notWritten.empty());
    EXPECT_EQ(bench.rereads, 1);
    // Metric (8), HUD (39), SP1 (52): nothing else is written.
    EXPECT_EQ(bench.requests(), (std::vector<std::string>{"08", "27", "34"}));
    sim::SimSettings now = bench.unit->state().settings;
    EXPECT_EQ(now.metric, 1);
    EXPECT_EQ(now.hudBrightness, 3);
    // 0.57 reaches the unit as 57, not truncated to 56.
    EXPECT_EQ(now.setpointSurface, 57);
    EXPECT_EQ(now.oxygenPercent, 95);

    bench.read(true);
    auto left = settingsDifferences(bench.settings, backup.record);
    ASSERT_EQ(restorableRows(left), (std::vector<int>{17}));
}

TEST(RestoreOnUnit, RowsThatOpenUpOrAreHeldByAPartnerGetASecondPass)
{
    RestoreBench bench("fw4925");
    bench.unit->update([](sim::SimState& s) {
        s.settings.dilHePercent = 35;
        s.settings.dilN2Percent = 44;
        s.settings.setpointSurface = 90;
        s.settings.setpointDepth = 140;
    });
    bench.read();
    UnitSettings file = bench.settings;

    bench.unit->update([](sim::SimState& s) {
        s.settings.decoEnabled = 0;
        s.settings.dilHePercent = 0;
        s.settings.dilN2Percent = 79;
        s.settings.setpointSurface = 50;
        s.settings.setpointDepth = 60;
    });
    bench.read();
    auto differences = settingsDifferences(bench.settings, file);
    UnitSettings record = bench.settings;
    RestoreResult result = restoreSettings(file, restorableRows(differences), record, bench);
    EXPECT_EQ(result.failure, EditOutcome::Sent);
    EXPECT_TRUE(result.notWritten.empty());

    sim::SimSettings now = bench.unit->state().settings;
    EXPECT_EQ(now.decoEnabled, 1);
    EXPECT_EQ(now.dilHePercent, 35);
    EXPECT_EQ(now.dilN2Percent, 44);
    EXPECT_EQ(now.setpointSurface, 90);
    EXPECT_EQ(now.setpointDepth, 140);
}

TEST(RestoreOnUnit, AUnitThatStopsAnsweringStopsTheRestoreAtTheWriteItDidNotTake)
{
    RestoreBench bench("fw4925");
    bench.read();
    UnitSettings file = bench.settings;
    file.oxygenPercent = 93;
    file.hudBrightness = 25;
    bench.unit->update([](sim::SimState& s) { s.faults.silent = true; });
    UnitSettings record = bench.settings;
    RestoreResult result = restoreSettings(file, {17, 6}, record, bench);
    // HUD brightness goes first (list order); its write is never acknowledged.
    EXPECT_EQ(result.failure, EditOutcome::NotTaken);
    EXPECT_EQ(bench.notices, (std::vector<std::string>{"The unit did not answer the write of \"HUD brightness\""}));
    EXPECT_EQ(result.written, 0);
    EXPECT_EQ(bench.rereads, 0);
}

// The restore job under a unit that leaves one request unanswered: request
// `skip` after the unit was read (1 the first write, 4 the challenge before
// "Oxygen part (%)"; 0 none), with `oxygen` as the file's oxygen part.
RestoreSettingsResult restoreIgnoring(RestoreBench& bench, int skip, int oxygen = 94)
{
    bench.read();
    UnitSettings file = bench.settings;
    file.metric = 0;
    file.hudBrightness = 25;
    file.setpointSurface = 0.95;
    file.oxygenPercent = oxygen;
    const int seen = bench.unit->stats().requests;
    if (skip > 0)
        bench.unit->update([&](sim::SimState& s) { s.faults.ignoreEvery = seen + skip; });
    RecordingEvents events;
    bench.worker.start(RestoreRequest{file, {2, 6, 7, 17}, bench.settings, "unit.ini"}, events);
    EXPECT_TRUE(bench.worker.waitFinished(20000));
    const JobOutcome outcome = bench.worker.lastOutcome();
    EXPECT_NE(outcome.as<RestoreSettingsResult>(), nullptr);
    return outcome.as<RestoreSettingsResult>() ? *outcome.as<RestoreSettingsResult>() : RestoreSettingsResult{};
}

TEST(RestoreOnUnit, AWriteOrChallengeLeftUnansweredIsAskedAgainAndTheRowsAreCheckedOnTheUnit)
{
    for (int skip : {1, 4}) {
        RestoreBench bench("fw4925");
        const RestoreSettingsResult result = restoreIgnoring(bench, skip);
        EXPECT_TRUE(result.restore.checked) << skip;
        EXPECT_EQ(result.restore.written, 4) << skip;
        EXPECT_TRUE(result.restore.notWritten.empty()) << skip;
        EXPECT_EQ(bench.worker.lastOutcome().code(), 1) << skip;
        sim::SimSettings now = bench.unit->state().settings;
        EXPECT_EQ(now.metric, 0);
        EXPECT_EQ(now.hudBrightness, 1);
        EXPECT_EQ(now.setpointSurface, 95);
        EXPECT_EQ(now.oxygenPercent, 94);
    }
}

// 91 is below what the oxygen editor allows: 92 is written, and the check
// finds the unit without the file's value.
TEST(RestoreOnUnit, ARowTheUnitDoesNotHoldIsNamedAndOnlyTheRowsItHoldsCount)
{
    RestoreBench bench("fw4925");
    const RestoreSettingsResult result = restoreIgnoring(bench, 0, 91);
    EXPECT_TRUE(result.restore.checked);
    EXPECT_EQ(result.restore.written, 3);
    EXPECT_EQ(result.restore.notWritten, (std::vector<std::string>{"Oxygen part (%)"}));
    EXPECT_EQ(bench.worker.lastOutcome().code(), 0);
    EXPECT_EQ(bench.unit->state().settings.oxygenPercent, 92);
}

// The window's restore: one job on the worker, its notices in its result.
TEST(RestoreOnUnit, TheRestoreJobWritesTheRowsAndKeepsTheNotices)
{
    RestoreBench bench("fw4925");
    bench.read();
    UnitSettings file = bench.settings;
    file.hudBrightness = 25;
    file.oxygenPercent = 93;
    bench.requests();
    RecordingEvents events;
    bench.worker.start(RestoreRequest{file, {6, 17}, bench.settings, "/tmp/unit.ini"}, events);
    ASSERT_TRUE(bench.worker.waitFinished(20000));
    const JobOutcome outcome = bench.worker.lastOutcome();
    const auto* restore = outcome.as<RestoreSettingsResult>();
    ASSERT_NE(restore, nullptr);
    EXPECT_EQ(restore->restore.failure, EditOutcome::Sent);
    EXPECT_EQ(restore->restore.written, 2);
    EXPECT_EQ(restore->requested, 2);
    EXPECT_TRUE(restore->reread);
    EXPECT_EQ(restore->path, "/tmp/unit.ini");
    EXPECT_TRUE(restore->notices.empty());
    EXPECT_EQ(bench.unit->state().settings.hudBrightness, 1);
    EXPECT_EQ(bench.unit->state().settings.oxygenPercent, 93);
}

}  // namespace
}  // namespace ravo::test
