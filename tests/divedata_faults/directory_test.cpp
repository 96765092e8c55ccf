// Directory reads that the user stops, or that the unit stops answering: the
// worker, the link and the simulated unit in this process, on a virtual clock.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>

#include "jobs/work_task.h"
#include "link/clock.h"
#include "sim/sim_presets.h"
#include "sim/sim_registration.h"
#include "sim/sim_transport.h"
#include "support/recording_events.h"

namespace ravo {
namespace {

class DirectoryTest : public ::testing::Test {
protected:
    // A unit of 40 dives and 40 redbox logs; `dropAfter` exchanges, then
    // silence; every `ignoreEntryEvery`th entry request unanswered.
    void useUnit(int dropAfter, int ignoreEntryEvery = 0)
    {
        sim::SimState state = sim::generatedUnit(0x4925, std::vector<uint32_t>(40, 5), 40);
        state.faults.dropAfter = dropAfter;
        state.faults.ignoreEntryEvery = ignoreEntryEvery;
        unit = std::make_shared<sim::SimUnit>(state);
        unit->setClock(&clock);
        static std::atomic<int> serial{0};
        std::string name = "directory-test-" + std::to_string(++serial);
        sim::registerSimTransport();
        sim::registerSimUnit(name, unit);
        task.setLinkAddress("sim:" + name);
        task.setClock(&clock);
    }

    void run(LogKind kind)
    {
        start = clock.nowMs();
        task.start(DirectoryRequest{0x1234, kind, false}, receiver);
        ASSERT_TRUE(task.waitFinished(60000));
    }
    int jobResult() const { return task.lastOutcome().code(); }
    LogDirectory read() const
    {
        const auto all = receiver.directories();
        return all.empty() ? LogDirectory{} : all.back();
    }

    double seconds() { return double(clock.nowMs() - start) / 1000.0; }

    ManualClock clock;
    std::shared_ptr<sim::SimUnit> unit;
    uint64_t start = 0;
    test::RecordingEvents receiver;
    WorkTask task;
};

TEST_F(DirectoryTest, TwoUnreadEntriesInARowEndTheRead)
{
    useUnit(3);  // the count and two entries answer
    run(LogKind::Dive);
    EXPECT_TRUE(receiver.hasLine("Read divelog info 2 - failed"));
    EXPECT_TRUE(receiver.hasLine("Read divelog info 3 - failed"));
    EXPECT_FALSE(receiver.hasLine("Read divelog info 4 (40)"));
    EXPECT_TRUE(receiver.hasLine("Read divelog info stopped: 2 entries in a row did not answer"));
    EXPECT_EQ(receiver.lines().back(), "Read divelog info ... incomplete: 38 of 40 entries not read");
    EXPECT_EQ(jobResult(), 0);
    const LogDirectory dives = read();
    ASSERT_EQ(dives.entries.size(), 40u);
    EXPECT_TRUE(dives.entries[1].valid);
    EXPECT_FALSE(dives.entries[2].valid);
    EXPECT_EQ(dives.unread.size(), 38u) << "every entry not read is named, the ones never asked for too";
    EXPECT_EQ(dives.unread.front(), 2);
    // Three attempts for each of two entries, a reply wait of a little over
    // 2.5 s each, not thirty-eight entries' worth.
    EXPECT_LT(seconds(), 6 * 3.0);
}

TEST_F(DirectoryTest, ACountTheUnitNeverGivesIsAnIncompleteDirectoryNotAnEmptyOne)
{
    useUnit(0);
    unit->update([](sim::SimState& s) { s.faults.ignoreEvery = 1; });
    run(LogKind::Dive);
    EXPECT_TRUE(receiver.hasLine("Read divelog count - failed"));
    EXPECT_EQ(jobResult(), 0);
    const LogDirectory dives = read();
    EXPECT_FALSE(dives.countRead);
    EXPECT_FALSE(dives.complete());
    EXPECT_EQ(unit->stats().requests, 3) << "the count is asked three times";
}

TEST_F(DirectoryTest, ACountWhoseReplyWasLostIsAskedAgain)
{
    useUnit(0);
    // The versions asked first, so that the count is the first request lost.
    task.start(ConnectRequest{0x1234, true, false}, receiver);
    ASSERT_TRUE(task.waitFinished(60000));
    const int seen = unit->stats().requests;
    ASSERT_GT(seen, 0);
    unit->update([&](sim::SimState& s) { s.faults.ignoreEvery = seen + 1; });
    run(LogKind::Dive);
    EXPECT_EQ(jobResult(), 1);
    const LogDirectory dives = read();
    EXPECT_TRUE(dives.complete());
    EXPECT_EQ(dives.entries.size(), 40u);
}

TEST_F(DirectoryTest, AnEntryIsAskedThreeTimesAtMost)
{
    useUnit(0, 1);  // no entry request is answered
    run(LogKind::Dive);
    EXPECT_EQ(jobResult(), 0);
    EXPECT_EQ(read().unread.size(), 40u);
    EXPECT_GT(seconds(), 6 * 2.5);
    EXPECT_LT(seconds(), 7 * 2.5);
}

TEST_F(DirectoryTest, AnEntryRequestLostNowAndThenIsAskedAgain)
{
    useUnit(0, 2);  // every second entry request goes unanswered
    run(LogKind::Dive);
    EXPECT_EQ(jobResult(), 1);
    EXPECT_TRUE(read().complete());
    EXPECT_EQ(read().entries.size(), 40u);
    EXPECT_EQ(read().entries[39].index, 39);
    EXPECT_EQ(receiver.lines().back(), "Read divelog info ... done");
}

TEST_F(DirectoryTest, RedboxReadEndsTheSameWay)
{
    useUnit(6);  // versions, challenge, response, count, two entries
    run(LogKind::Redbox);
    EXPECT_TRUE(receiver.hasLine("Read redbox info 2 - failed"));
    EXPECT_TRUE(receiver.hasLine("Read redbox info stopped: 2 entries in a row did not answer"))
        << testing::PrintToString(receiver.lines());
    EXPECT_EQ(receiver.lines().back(), "Read redboxlog info ... incomplete: 38 of 40 entries not read");
    EXPECT_EQ(jobResult(), 0);
}

TEST_F(DirectoryTest, AStopRequestEndsTheReadAfterTheEntry)
{
    useUnit(0);
    receiver.onLine = [this](const std::string& line) {
        if (line == "Read divelog info 3 (40)")
            task.requestStop();
    };
    run(LogKind::Dive);
    EXPECT_TRUE(receiver.hasLine("User stopped...."));
    EXPECT_FALSE(receiver.hasLine("Read divelog info 4 (40)"));
    EXPECT_EQ(jobResult(), 0);
    EXPECT_TRUE(read().entries[3].valid);
    EXPECT_FALSE(read().entries[4].valid);
    EXPECT_FALSE(read().complete());
    EXPECT_EQ(receiver.lines().back(), "Read divelog info ... incomplete: 36 of 40 entries not read");
}

}  // namespace
}  // namespace ravo
