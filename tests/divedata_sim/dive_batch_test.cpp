// Several dives downloaded as one job from the simulated unit: each saved as
// it arrives, one progress over all of them, and a stop ending the batch.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>

#include "app/unit_log_view_state.h"
#include "divedata/sample_csv.h"
#include "jobs/work_task.h"
#include "link/clock.h"
#include "sim/sim_registration.h"
#include "sim/sim_transport.h"
#include "support/temp_dir.h"

namespace ravo::test {
namespace {

// The main window's part: saves each delivered dive, keeps the progress.
class BatchWindow : public MessageReceiver {
public:
    BatchWindow(WorkTask& worker, std::string folder) : worker_(worker), folder_(std::move(folder)) {}

    intptr_t sendMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (message == UM_STATUS_TEXT)
            lines.push_back(reinterpret_cast<const char*>(lParam));
        if (message == UM_PROGRESS) {
            percents.push_back(int(wParam));
            records.push_back(worker_.progressRecords);
            totals.push_back(worker_.progressTotal);
            if (stopAtRecords && worker_.progressRecords >= stopAtRecords)
                worker_.stopRequested = true;
        }
        if (message == UM_DIVE_DOWNLOADED) {
            auto* log = reinterpret_cast<CDiveLog*>(lParam);
            delivered.push_back(*log);
            log->saveDive(folder_);
        }
        return 1;
    }
    bool hasLine(const std::string& text) const
    {
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    }

    std::mutex mutex;
    std::vector<std::string> lines;
    std::vector<int> percents;
    std::vector<uint32_t> records, totals;
    std::vector<CDiveLog> delivered;
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
        worker.link.setAddress("sim:default");
        worker.link.setClock(&clock);
        worker.unitNumber = 0x1234;
        worker.start(JOB_DIVE_DIRECTORY, nullptr);
        EXPECT_TRUE(worker.waitFinished(20000));
    }
    ~DiveBatch() override
    {
        worker.waitFinished(20000);
        worker.link.Close();
        worker.link.setClock(nullptr);
        sim::forgetSimUnits();
    }
    void runBatch(std::vector<int> indexes)
    {
        std::vector<CDiveInfo> entries;
        for (int i : indexes)
            entries.push_back(worker.diveDirectory.at(size_t(i)));
        std::string status;
        ASSERT_TRUE(prepareDiveBatch(worker, entries, status));
        EXPECT_EQ(status, "Read " + std::to_string(indexes.size()) + " dives from unit 1234");
        worker.start(JOB_DIVE_LOGS, &window);
        ASSERT_TRUE(worker.waitFinished(60000));
    }

    ScaledClock clock{40.0};
    WorkTask worker;
    TempDir dir;
    BatchWindow window;
};

TEST_F(DiveBatch, DownloadsTheChosenDivesInTurnWithOneProgress)
{
    ASSERT_EQ(worker.diveDirectory.size(), 4u);
    const uint32_t all = worker.diveDirectory[1].recordCount + worker.diveDirectory[3].recordCount;
    runBatch({1, 3});
    ASSERT_EQ(window.delivered.size(), 2u);
    EXPECT_EQ(window.delivered[0].info.index, 1);
    EXPECT_EQ(window.delivered[1].info.index, 3);
    for (const CDiveLog& log : window.delivered) {
        EXPECT_EQ(log.samples.size(), log.info.recordCount);
        std::vector<CDiveDataRecord> saved;
        ASSERT_EQ(ReadSamplesCsv(dir.file("dive/" + log.makeFileName(true) + ".csv"), saved), 0);
        EXPECT_EQ(saved, log.samples);
    }
    // One bar: the percents never fall back, and only the last one is 0.
    ASSERT_GE(window.percents.size(), 3u);
    EXPECT_EQ(window.percents.back(), 0);
    EXPECT_TRUE(std::is_sorted(window.percents.begin(), window.percents.end() - 1));
    EXPECT_EQ(std::count(window.percents.begin(), window.percents.end(), 0), 1);
    EXPECT_EQ(window.records[window.records.size() - 2], all);
    EXPECT_EQ(*std::max_element(window.totals.begin(), window.totals.end()), all);
    EXPECT_TRUE(window.hasLine("Read dive 2 of 2"));
    EXPECT_TRUE(window.hasLine("Read 2 of 2 dives ... done"));
    EXPECT_EQ(worker.jobResult, 1);
}

TEST_F(DiveBatch, AStopKeepsWhatArrivedOfTheDiveBeingReadAndEndsTheBatch)
{
    window.stopAtRecords = 100;
    runBatch({2, 0});
    ASSERT_EQ(window.delivered.size(), 1u);
    EXPECT_EQ(window.delivered[0].info.index, 2);
    EXPECT_LT(window.delivered[0].samples.size(), window.delivered[0].info.recordCount);
    EXPECT_GE(window.delivered[0].samples.size(), 100u);
    EXPECT_TRUE(window.hasLine("User stopped...."));
    EXPECT_TRUE(window.hasLine("Read 0 of 2 dives ... done"));
    EXPECT_EQ(window.percents.back(), 0);
    EXPECT_FALSE(worker.stopRequested);
}

}  // namespace
}  // namespace ravo::test
