// Several dives downloaded as one job from the simulated unit: each saved as
// it arrives, one progress over all of them, and a stop ending the batch.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>

#include "divedata/sample_csv.h"
#include "jobs/work_task.h"
#include "link/clock.h"
#include "sim/sim_registration.h"
#include "sim/sim_transport.h"
#include "support/recording_events.h"
#include "support/temp_dir.h"

namespace ravo::test {
namespace {

// The main window's part: saves each delivered dive; a stop at a number of
// records, as a user's "Cancel".
class BatchWindow : public RecordingEvents {
public:
    BatchWindow(WorkTask& worker, std::string folder) : worker_(worker), folder_(std::move(folder)) {}

    void progress(const JobProgress& p) override
    {
        RecordingEvents::progress(p);
        if (stopAtRecords && p.done >= stopAtRecords)
            worker_.requestStop();
    }
    void logDownloaded(const CDiveLog& log) override
    {
        RecordingEvents::logDownloaded(log);
        CDiveLog copy = log;
        copy.saveDive(folder_);
    }

    uint32_t stopAtRecords = 0;

private:
    WorkTask& worker_;
    std::string folder_;
};

class DiveBatch : public ::testing::Test {
protected:
    DiveBatch() : window(worker, dir.file("dive"))
    {
        sim::registerSimTransport();
        sim::forgetSimUnits();
        sim::setSimClock(&clock);
        worker.setLinkAddress("sim:default");
        worker.setClock(&clock);
        RecordingEvents read;
        worker.start(DirectoryRequest{0x1234, LogKind::Dive, false}, read);
        EXPECT_TRUE(worker.waitFinished(20000));
        if (!read.directories().empty())
            directory = read.directories().back().entries;
    }
    ~DiveBatch() override
    {
        worker.waitFinished(20000);
        worker.closeLink();
        worker.setClock(nullptr);
        sim::forgetSimUnits();
        sim::setSimClock(nullptr);
    }
    void runBatch(std::vector<int> indexes)
    {
        std::vector<CDiveInfo> entries;
        for (int i : indexes)
            entries.push_back(directory.at(size_t(i)));
        worker.start(LogsRequest{0x1234, LogKind::Dive, entries}, window);
        ASSERT_TRUE(worker.waitFinished(60000));
    }

    // Virtual time for the worker and the unit, which answers in the worker's
    // thread: the waits take no real time and a busy machine cannot end one.
    ManualClock clock;
    WorkTask worker;
    TempDir dir;
    BatchWindow window;
    std::vector<CDiveInfo> directory;
};

TEST_F(DiveBatch, DownloadsTheChosenDivesInTurnWithOneProgress)
{
    ASSERT_EQ(directory.size(), 4u);
    const uint32_t all = directory[1].recordCount + directory[3].recordCount;
    runBatch({1, 3});
    const auto delivered = window.logs();
    ASSERT_EQ(delivered.size(), 2u);
    EXPECT_EQ(delivered[0].info.index, 1);
    EXPECT_EQ(delivered[1].info.index, 3);
    for (const CDiveLog& log : delivered) {
        EXPECT_EQ(log.samples.size(), log.info.recordCount);
        std::vector<CDiveDataRecord> saved;
        ASSERT_EQ(ReadSamplesCsv(dir.file("dive/" + log.makeFileName(true) + ".csv"), saved), 0);
        EXPECT_EQ(saved, log.samples);
    }
    // One bar: records of the whole batch, never falling back.
    const auto progress = window.progressEvents();
    ASSERT_GE(progress.size(), 3u);
    std::vector<uint32_t> done;
    for (const JobProgress& p : progress) {
        EXPECT_EQ(p.kind, ProgressKind::LogRecords);
        EXPECT_EQ(p.total, all);
        done.push_back(p.done);
    }
    EXPECT_TRUE(std::is_sorted(done.begin(), done.end()));
    EXPECT_EQ(progress.back(), (JobProgress{ProgressKind::LogRecords, all, all, 100}));
    EXPECT_TRUE(window.hasLine("Read dive 2 of 2"));
    EXPECT_TRUE(window.hasLine("Read 2 of 2 dives ... done"));
    const JobOutcome outcome = worker.lastOutcome();
    EXPECT_EQ(outcome.kind, JobKind::DiveLogs);
    EXPECT_EQ(outcome.code(), 1);
    ASSERT_NE(outcome.as<LogsResult>(), nullptr);
    EXPECT_EQ(outcome.as<LogsResult>()->whole, 2);
}

TEST_F(DiveBatch, AStopKeepsWhatArrivedOfTheDiveBeingReadAndEndsTheBatch)
{
    window.stopAtRecords = 100;
    runBatch({2, 0});
    const auto delivered = window.logs();
    ASSERT_EQ(delivered.size(), 1u);
    EXPECT_EQ(delivered[0].info.index, 2);
    EXPECT_LT(delivered[0].samples.size(), delivered[0].info.recordCount);
    EXPECT_GE(delivered[0].samples.size(), 100u);
    EXPECT_TRUE(delivered[0].partial);
    EXPECT_TRUE(window.hasLine("User stopped...."));
    EXPECT_TRUE(window.hasLine("Read 0 of 2 dives ... done"));
    EXPECT_EQ(worker.lastOutcome().code(), kJobLogIncomplete);
    EXPECT_FALSE(worker.stopRequested());
}

}  // namespace
}  // namespace ravo::test
