#include <gtest/gtest.h>

#include "app/frame_dispatcher.h"
#include "app/setting_editor_guard.h"
#include "app/tree_rules.h"
#include "fake_frame.h"
#include "sim/sim_registration.h"
#include "support/temp_dir.h"

namespace ravo::test {
namespace {

class Dispatcher : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::registerSimTransport();
        app.config.startFolder = dir.path();
        app.config.diveFolder = dir.file("dive");
        app.config.linkAddress = "sim";
        std::string error;
        ASSERT_TRUE(app.startUp(std::make_unique<MemoryConfigStore>(), error));
    }

    // The worker's messages come straight in while the test waits for it.
    void finishJob()
    {
        ASSERT_TRUE(app.worker->waitFinished(10000));
        dispatcher.onTimer(TIMER_JOB_POLL);
    }

    intptr_t selectUnitNode(const std::string& unit, const std::string& node)
    {
        labels = {kUnitRoot, unit, node};
        return dispatcher.sendMessage(UM_TREE_UNIT, 0, reinterpret_cast<intptr_t>(&labels));
    }

    TempDir dir;
    CRavo_ConfigApp app;
    FakeFrame frame;
    FrameDispatcher dispatcher{app, frame, frame};
    TreeLabels labels;
};

TEST_F(Dispatcher, DiveLogNodeReadsTheDirectoryOncePerIdlePeriod)
{
    selectUnitNode("1234", kDiveLogNode);
    EXPECT_EQ(frame.showing, VIEW_UNIT_DIVE);
    EXPECT_EQ(frame.statusTexts.front(), "Double-click to get dive data from unit");
    EXPECT_EQ(app.worker->jobCode, JOB_DIVE_DIRECTORY);
    EXPECT_EQ(app.worker->unitNumber, 0x1234u);
    EXPECT_EQ(frame.linkWaits, 1);
    EXPECT_TRUE(app.worker->keepLinkOpen);
    finishJob();
    EXPECT_EQ(app.worker->diveDirectory.size(), 4u);
    EXPECT_TRUE(dispatcher.diveDirectoryRead());
    EXPECT_TRUE(frame.timerRunning(TIMER_LINK_IDLE));  // restarted by the job's lines

    // Within the idle period: the directory already read is shown again.
    app.worker->jobCode = JOB_NONE;
    frame.forwarded.clear();
    selectUnitNode("1234", kDiveLogNode);
    EXPECT_EQ(app.worker->jobCode, JOB_NONE);
    EXPECT_EQ(frame.forwarded, (std::vector<unsigned>{UM_REFRESH_VIEW, UM_TREE_UNIT}));

    // The idle timer closes the link and forgets both directories.
    dispatcher.onTimer(TIMER_LINK_IDLE);
    EXPECT_FALSE(app.worker->link.isOpen());
    EXPECT_FALSE(app.worker->keepLinkOpen);
    selectUnitNode("1234", kDiveLogNode);
    EXPECT_EQ(app.worker->jobCode, JOB_DIVE_DIRECTORY);
    finishJob();
}

TEST_F(Dispatcher, ReadInfoForgetsTheDirectoriesAndAddsTheUnit)
{
    selectUnitNode("1234", kRedboxLogNode);
    EXPECT_EQ(frame.statusTexts.front(), "Double-click to get unitlog data from unit");
    finishJob();
    EXPECT_TRUE(dispatcher.redboxDirectoryRead());
    dispatcher.sendMessage(UM_REQ_READ_INFO, 0, 0);
    EXPECT_FALSE(dispatcher.redboxDirectoryRead());
    EXPECT_EQ(frame.statusTexts.back(), "Read info from unit 1234");
    finishJob();
    EXPECT_EQ(frame.units, std::vector<std::string>{"1234"});
    EXPECT_EQ(frame.forwarded.back(), UM_REFRESH_VIEW);
}

TEST_F(Dispatcher, FixSerialRefusesAnotherNumberWithTheErrorLogLine)
{
    app.config.setUnitNumberText("1234");
    dispatcher.sendMessage(UM_REQ_FIX_SERIAL, 0, 0);
    EXPECT_EQ(dispatcher.statusText(), "Please enter FFFF in serial number field");
    EXPECT_FALSE(app.worker->threadRunning());
    EXPECT_EQ(app.worker->jobCode, JOB_NONE);
    app.log.close();
    std::vector<std::string> lines = splitLines(readFile(dir.file("loggfile.txt")));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[1].find(" : UNIT_CMD_FIX_LOST_SR 1234 - error, serial number is not FFFF\r"), std::string::npos);
}

TEST_F(Dispatcher, FirmwareRequestInBootloaderModeKeepsTheUnitNumber)
{
    app.config.setUnitNumberText("1234");
    app.config.setUnitNumberText("BL");
    std::string path = dir.file("fw.enc");
    dispatcher.sendMessage(UM_REQ_FIRMWARE, 0, reinterpret_cast<intptr_t>(&path));
    EXPECT_EQ(frame.statusTexts.front(), "Firmware download BL [" + path + "]");
    EXPECT_EQ(app.worker->jobCode, JOB_FIRMWARE_BL);
    EXPECT_EQ(app.worker->firmwarePath, path);
    EXPECT_EQ(frame.linkWaits, 0);
    finishJob();
    app.log.close();
    EXPECT_NE(readFile(dir.file("loggfile.txt")).find("Firmware download BL 1234 : " + path), std::string::npos);
}

TEST_F(Dispatcher, RequestsWhileTheLinkIsBusyWriteNothingAndSaySo)
{
    frame.waitRunning = true;
    CDiveInfo entry;
    entry.unitNumber = 0x4321;
    entry.index = 3;
    dispatcher.sendMessage(UM_REQ_READ_DIVE, 0, reinterpret_cast<intptr_t>(&entry));
    dispatcher.sendMessage(UM_REQ_READ_INFO, 0, 0);
    selectUnitNode("1234", kDiveLogNode);
    EXPECT_EQ(app.worker->unitNumber, 0xFFFFu);
    EXPECT_EQ(app.worker->logIndex, 0);
    EXPECT_EQ(app.worker->jobCode, JOB_NONE);
    EXPECT_FALSE(dispatcher.diveDirectoryRead());
    EXPECT_EQ(frame.linkWaits, 0);
    EXPECT_EQ(frame.statusTexts, std::vector<std::string>(3, kUnitBusyText));
}

TEST_F(Dispatcher, IdleTimerLeavesTheLinkToAnOpenEditorAndToARunningWait)
{
    selectUnitNode("1234", kDiveLogNode);
    finishJob();
    ASSERT_TRUE(app.worker->link.isOpen());
    {
        SettingEditorGuard editor(app);
        frame.running.clear();
        dispatcher.onTimer(TIMER_LINK_IDLE);
        EXPECT_TRUE(app.worker->link.isOpen());
        EXPECT_TRUE(frame.timerRunning(TIMER_LINK_IDLE));
    }
    frame.waitRunning = true;
    dispatcher.onTimer(TIMER_LINK_IDLE);
    EXPECT_TRUE(app.worker->link.isOpen());
    EXPECT_TRUE(dispatcher.diveDirectoryRead());
    frame.waitRunning = false;
    dispatcher.onTimer(TIMER_LINK_IDLE);
    EXPECT_FALSE(app.worker->link.isOpen());
}

TEST_F(Dispatcher, OnlineIndicatorFollowsTheLinkAndDuringAWaitTheReplies)
{
    dispatcher.begin();
    EXPECT_FALSE(frame.online);
    EXPECT_EQ(frame.running.at(TIMER_ONLINE), 1000u);
    selectUnitNode("1234", kDiveLogNode);
    finishJob();
    dispatcher.onTimer(TIMER_ONLINE);
    EXPECT_TRUE(frame.online);
    EXPECT_TRUE(frame.timerRunning(TIMER_ONLINE));

    frame.waitRunning = true;
    dispatcher.onTimer(TIMER_LINK_IDLE);  // restarts: the link stays open
    dispatcher.sendMessage(UM_LINK_RECEIVE, 0, 0);
    dispatcher.onTimer(TIMER_ONLINE);
    EXPECT_TRUE(frame.online);
    for (int i = 0; i < 3; ++i)
        dispatcher.onTimer(TIMER_ONLINE);
    EXPECT_FALSE(frame.online);  // three tests without a reply
}

TEST_F(Dispatcher, CloseDuringAWaitStopsFirstAndClosesWhenIdle)
{
    frame.waitRunning = true;
    EXPECT_FALSE(dispatcher.requestClose());
    EXPECT_TRUE(frame.timerRunning(TIMER_JOB_POLL));
    dispatcher.onTimer(TIMER_JOB_POLL);
    EXPECT_FALSE(frame.closed);
    frame.waitRunning = false;
    dispatcher.onTimer(TIMER_JOB_POLL);
    EXPECT_TRUE(frame.closed);
}

TEST_F(Dispatcher, DownloadedDiveIsSavedAndTheTreeRebuilt)
{
    selectUnitNode("1234", kDiveLogNode);
    finishJob();
    CDiveInfo entry = app.worker->diveDirectory.at(1);
    dispatcher.sendMessage(UM_REQ_READ_DIVE, 0, reinterpret_cast<intptr_t>(&entry));
    EXPECT_EQ(frame.statusTexts.back().rfind("Read divedata from unit 1234 index 1", 0), 0u);
    finishJob();
    ASSERT_EQ(app.savedDiveNames.size(), 1u);
    EXPECT_EQ(app.savedDiveNames[0].rfind("KTL_SN1234_", 0), 0u);
    EXPECT_GE(frame.rebuilds, 1);
    EXPECT_TRUE(frame.errors.empty());
}

TEST(TreeRules, LabelsReadRootFirstWhateverTheLevel)
{
    TreeLabels root = selectionLabels(kUnitRoot, "", "");
    EXPECT_EQ(root.rootLabel, kUnitRoot);
    EXPECT_EQ(root.unitLabel, "");
    EXPECT_EQ(selectionMessage(root), unsigned(UM_TREE_UNIT));
    TreeLabels unit = selectionLabels("1A2B", kUnitRoot, "");
    EXPECT_EQ(unit.unitLabel, "1A2B");
    EXPECT_EQ(unit.nodeLabel, "");
    TreeLabels node = selectionLabels(kRedboxLogNode, "1A2B", kUnitRoot);
    EXPECT_EQ(node.nodeLabel, kRedboxLogNode);
    TreeLabels saved = selectionLabels("2012-05-06_14-22-33_O", "1A2B", kSavedRoot);
    EXPECT_EQ(selectionMessage(saved), unsigned(UM_TREE_SAVED_DIVE));
    EXPECT_EQ(selectionMessage(selectionLabels("", "", "")), 0u);
}

}  // namespace
}  // namespace ravo::test
