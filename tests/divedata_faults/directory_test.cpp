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
#include "support/recording_receiver.h"

namespace ravo {
namespace {

class Receiver : public test::RecordingReceiver {
public:
    std::function<void(const std::string&)> onLine;
    intptr_t sendMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override
    {
        intptr_t result = RecordingReceiver::sendMessage(message, wParam, lParam);
        if (message == UM_STATUS_TEXT && onLine)
            onLine(reinterpret_cast<const char*>(lParam));
        return result;
    }
};

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
        task.link.setAddress("sim:" + name);
        task.link.setClock(&clock);
        task.unitNumber = 0x1234;
    }

    void run(int jobCode)
    {
        start = clock.nowMs();
        task.start(jobCode, &receiver);
        ASSERT_TRUE(task.waitFinished(60000));
    }

    double seconds() { return double(clock.nowMs() - start) / 1000.0; }

    ManualClock clock;
    uint64_t start = 0;
    Receiver receiver;
    WorkTask task;
};

TEST_F(DirectoryTest, FiveUnansweredEntriesInARowEndTheRead)
{
    useUnit(3);  // the count and two entries answer
    run(JOB_DIVE_DIRECTORY);
    EXPECT_TRUE(receiver.hasLine("Read divelog info 6 (40)"));
    EXPECT_FALSE(receiver.hasLine("Read divelog info 7 (40)"));
    EXPECT_TRUE(receiver.hasLine("Read divelog info stopped: 5 entries in a row did not answer"));
    EXPECT_EQ(receiver.lines().back(), "Read divelog info ... done");
    EXPECT_EQ(task.jobResult, 0);
    ASSERT_EQ(task.diveDirectory.size(), 40u);
    EXPECT_TRUE(task.diveDirectory[1].valid);
    EXPECT_FALSE(task.diveDirectory[2].valid);
    // Five reply waits of a little over 2.5 s each, not thirty-eight.
    EXPECT_LT(seconds(), 5 * 3.0);
}

TEST_F(DirectoryTest, RedboxReadEndsTheSameWay)
{
    useUnit(6);  // versions, challenge, response, count, two entries
    run(JOB_REDBOX_DIRECTORY);
    EXPECT_TRUE(receiver.hasLine("Read redbox info stopped: 5 entries in a row did not answer"))
        << testing::PrintToString(receiver.lines());
    EXPECT_EQ(receiver.lines().back(), "Read redboxlog info ... done");
    EXPECT_EQ(task.jobResult, 0);
}

TEST_F(DirectoryTest, AStopRequestEndsTheReadAfterTheEntry)
{
    useUnit(0);
    receiver.onLine = [this](const std::string& line) {
        if (line == "Read divelog info 3 (40)")
            task.stopRequested = true;
    };
    run(JOB_DIVE_DIRECTORY);
    EXPECT_TRUE(receiver.hasLine("User stopped...."));
    EXPECT_FALSE(receiver.hasLine("Read divelog info 4 (40)"));
    EXPECT_EQ(task.jobResult, 0);
    EXPECT_TRUE(task.diveDirectory[3].valid);
    EXPECT_FALSE(task.diveDirectory[4].valid);
}

}  // namespace
}  // namespace ravo
