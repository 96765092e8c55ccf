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
    // A unit of 40 dives and 40 redbox logs; `dropAfter` exchanges, then silence.
    void useUnit(int dropAfter)
    {
        sim::SimState state = sim::generatedUnit(0x4925, std::vector<uint32_t>(40, 5), 40);
        state.faults.dropAfter = dropAfter;
        auto unit = std::make_shared<sim::SimUnit>(state);
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
    uint64_t start = 0;
    test::RecordingEvents receiver;
    WorkTask task;
};

TEST_F(DirectoryTest, FiveUnansweredEntriesInARowEndTheRead)
{
    useUnit(3);  // the count and two entries answer
    run(LogKind::Dive);
    EXPECT_TRUE(receiver.hasLine("Read divelog info 6 (40)"));
    EXPECT_FALSE(receiver.hasLine("Read divelog info 7 (40)"));
    EXPECT_TRUE(receiver.hasLine("Read divelog info stopped: 5 entries in a row did not answer"));
    EXPECT_EQ(receiver.lines().back(), "Read divelog info ... done");
    EXPECT_EQ(jobResult(), 0);
    const LogDirectory dives = read();
    ASSERT_EQ(dives.entries.size(), 40u);
    EXPECT_TRUE(dives.entries[1].valid);
    EXPECT_FALSE(dives.entries[2].valid);
    EXPECT_EQ(dives.unread.size(), 38u) << "every entry not read is named, the ones never asked for too";
    EXPECT_EQ(dives.unread.front(), 2);
    // Five reply waits of a little over 2.5 s each, not thirty-eight.
    EXPECT_LT(seconds(), 5 * 3.0);
}

TEST_F(DirectoryTest, RedboxReadEndsTheSameWay)
{
    useUnit(6);  // versions, challenge, response, count, two entries
    run(LogKind::Redbox);
    EXPECT_TRUE(receiver.hasLine("Read redbox info stopped: 5 entries in a row did not answer"))
        << testing::PrintToString(receiver.lines());
    EXPECT_EQ(receiver.lines().back(), "Read redboxlog info ... done");
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
}

}  // namespace
}  // namespace ravo
