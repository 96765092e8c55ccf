// The main window's decisions without a window: requests, the job state every
// view follows, the "ONLINE" pane, the bootloader hint, the close during an
// update. The worker runs real jobs on a simulated unit on a virtual clock;
// its events reach the dispatcher when the test hands them over, as the
// window's bridge hands them over on the UI thread.
#include <gtest/gtest.h>

#include <future>

#include "app/frame_dispatcher.h"
#include "app/tree_rules.h"
#include "app/unit_view_rules.h"
#include "fake_frame.h"
#include "sim/sim_firmware_image.h"
#include "sim/sim_presets.h"
#include "sim/sim_registration.h"
#include "sim/sim_transport.h"
#include "support/recording_events.h"
#include "support/temp_dir.h"

namespace ravo::test {
namespace {

class Dispatcher : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::registerSimTransport();
        sim::SimState state;
        ASSERT_TRUE(sim::presetState("default", state));
        unit = std::make_shared<sim::SimUnit>(state);
        unit->setClock(&linkClock);
        static int serial = 0;
        const std::string name = "dispatcher-" + std::to_string(++serial);
        sim::registerSimUnit(name, unit);
        app.config.startFolder = dir.path();
        app.config.diveFolder = dir.file("dive");
        app.config.firmwareFolder = dir.file("firmware");
        app.config.linkAddress = "sim:" + name;
        std::string error;
        ASSERT_TRUE(app.startUp(std::make_unique<MemoryConfigStore>(), error));
        app.worker->setClock(&linkClock);
        app.config.setUnitNumberText("1234");
        makeDispatcher();
    }
    void TearDown() override { app.worker->waitFinished(20000); }

    void makeDispatcher()
    {
        dispatcher = std::make_unique<FrameDispatcher>(app, frame, frame, FramePeriods{}, uiClock);
        dispatcher->setWorkerEvents(&queue);
    }

    // Waits for the worker, then hands its events to the dispatcher.
    void finishJob()
    {
        ASSERT_TRUE(app.worker->waitFinished(20000));
        queue.deliverTo(*dispatcher);
    }

    void selectUnitNode(const std::string& unitText, const std::string& node)
    {
        dispatcher->treeSelected({kUnitRoot, unitText, node});
    }

    std::string image(uint16_t version)
    {
        std::string path = dir.file("test.enc");
        std::string error;
        EXPECT_TRUE(sim::writeTestFirmware(path, version, 4, 200, error)) << error;
        return path;
    }

    TempDir dir;
    ManualClock linkClock;
    ManualClock uiClock;
    std::shared_ptr<sim::SimUnit> unit;
    CRavo_ConfigApp app;
    FakeFrame frame;
    EventQueue queue;
    std::unique_ptr<FrameDispatcher> dispatcher;
};

TEST_F(Dispatcher, DiveLogNodeReadsTheDirectoryOncePerIdlePeriod)
{
    selectUnitNode("1234", kDiveLogNode);
    EXPECT_EQ(frame.showing, VIEW_UNIT_DIVE);
    EXPECT_EQ(frame.statusTexts.front(), "Double-click to get dive data from unit");
    EXPECT_TRUE(dispatcher->busy());
    EXPECT_EQ(dispatcher->state().job.kind, JobKind::DiveDirectory);
    finishJob();
    EXPECT_FALSE(dispatcher->busy());
    EXPECT_EQ(dispatcher->state().dives.entries.size(), 4u);
    EXPECT_EQ(dispatcher->state().dives.unit, 0x1234);
    EXPECT_TRUE(dispatcher->diveDirectoryRead());
    EXPECT_TRUE(dispatcher->state().linkOpen) << "the directory read keeps the link";
    EXPECT_TRUE(frame.timerRunning(TIMER_LINK_IDLE));  // restarted by the job's events

    // Within the idle period: the directory already read is shown again.
    frame.selections.clear();
    selectUnitNode("1234", kDiveLogNode);
    EXPECT_FALSE(dispatcher->busy());
    EXPECT_EQ(frame.selections, std::vector<std::string>{kDiveLogNode});

    // The idle timer closes the link and forgets both directories.
    dispatcher->onTimer(TIMER_LINK_IDLE);
    EXPECT_FALSE(app.worker->linkOpen());
    EXPECT_FALSE(dispatcher->state().linkOpen);
    selectUnitNode("1234", kDiveLogNode);
    EXPECT_EQ(dispatcher->state().job.kind, JobKind::DiveDirectory);
    finishJob();
}

TEST_F(Dispatcher, ReadInfoForgetsTheDirectoriesAndAddsTheUnit)
{
    selectUnitNode("1234", kRedboxLogNode);
    EXPECT_EQ(frame.statusTexts.front(), "Double-click to get unitlog data from unit");
    finishJob();
    EXPECT_TRUE(dispatcher->redboxDirectoryRead());
    dispatcher->requestReadInfo();
    EXPECT_FALSE(dispatcher->redboxDirectoryRead());
    EXPECT_EQ(frame.statusTexts.back(), "Read info from unit 1234");
    finishJob();
    EXPECT_EQ(frame.units, std::vector<std::string>{"1234"});
    const UnitShown& shown = dispatcher->state().unit;
    ASSERT_TRUE(shown.versions && shown.voltage);
    EXPECT_EQ(shown.versions->mainVersion, 0x49);
    EXPECT_TRUE(shown.settingsRead);
    EXPECT_EQ(frame.ended.back(), JobKind::ReadInfo);

    // The unit that answered is stored at once: the next start's box shows
    // it, whatever the box held when the program ended.
    ConfigStore& store = *app.configStore();
    store.writeText("KTLS", "UNIT_NR", "FFFF");
    AppConfig next;
    next.load(store);
    EXPECT_EQ(next.unitNumberText, "1234");
}

TEST_F(Dispatcher, FixSerialRefusesAnotherNumberWithTheErrorLogLine)
{
    app.config.setUnitNumberText("1234");
    dispatcher->requestFixSerial();
    EXPECT_EQ(dispatcher->statusText(), "Please enter FFFF in serial number field");
    EXPECT_FALSE(dispatcher->busy());
    EXPECT_FALSE(app.worker->running());
    app.log.close();
    std::vector<std::string> lines = splitLines(readFile(dir.file("loggfile.txt")));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[1].find(" : UNIT_CMD_FIX_LOST_SR 1234 - error, serial number is not FFFF\r"), std::string::npos);
}

// Fault 4: "BL" typed for a unit that runs its firmware. The chunks go
// unanswered, and nothing says the unit is in its bootloader: no hint.
TEST_F(Dispatcher, ABootloaderDownloadToARunningUnitGivesNoBootloaderHint)
{
    app.config.setUnitNumberText("1234");
    app.config.setUnitNumberText("BL");
    const std::string path = image(0x4A01);
    dispatcher->requestFirmware(path);
    EXPECT_EQ(frame.statusTexts.front(), "Firmware download BL [" + path + "]");
    finishJob();
    EXPECT_FALSE(dispatcher->unitWaitsInBootloader(0x1234));
    const std::string& result = dispatcher->state().unit.resultText;
    EXPECT_EQ(result.find("bootloader"), std::string::npos) << result;
    EXPECT_NE(result.find("Link lost: unit 1234 did not answer"), std::string::npos) << result;
    app.log.close();
    EXPECT_NE(readFile(dir.file("loggfile.txt")).find("Firmware download BL 1234 : " + path), std::string::npos);
}

TEST_F(Dispatcher, RequestsWhileAJobRunsWriteNothingAndSaySo)
{
    dispatcher->requestReadInfo();
    ASSERT_TRUE(dispatcher->busy()) << "busy until the job's end is handled";
    frame.statusTexts.clear();
    CDiveInfo entry;
    entry.unitNumber = 0x4321;
    entry.index = 3;
    dispatcher->requestLogs(LogKind::Dive, {entry});
    dispatcher->requestReadInfo();
    dispatcher->requestPowerDown();
    selectUnitNode("1234", kDiveLogNode);
    EXPECT_EQ(dispatcher->state().job.kind, JobKind::ReadInfo);
    EXPECT_FALSE(dispatcher->diveDirectoryRead());
    EXPECT_EQ(frame.statusTexts, std::vector<std::string>(4, kUnitBusyText));
    finishJob();
    EXPECT_FALSE(dispatcher->busy());
}

// Faults 1 to 3 without a window: one job state, announced to every view;
// progress of its own kind only; nothing of the last job at the next start.
TEST_F(Dispatcher, TheJobStateStartsEmptyFollowsTheJobAndEndsWithIt)
{
    selectUnitNode("1234", kDiveLogNode);
    finishJob();
    const CDiveInfo entry = dispatcher->state().dives.entries.at(1);
    unit->update([](sim::SimState& s) { s.faults.silent = true; });  // the download breaks off
    frame.changes.clear();
    dispatcher->requestLogs(LogKind::Dive, {entry});
    EXPECT_EQ(frame.statusTexts.back(), "Read divedata from unit 1234 index 1");
    const JobStatus& job = dispatcher->state().job;
    EXPECT_TRUE(job.running);
    EXPECT_EQ(job.kind, JobKind::DiveLogs);
    EXPECT_EQ(job.progress, JobProgress{}) << "nothing shows before the job reports";
    ASSERT_FALSE(frame.changes.empty());
    EXPECT_EQ(frame.changes.front(), FrameChange::Job);

    dispatcher->progress({ProgressKind::LogRecords, 25, 120, 20});
    EXPECT_EQ(job.progressOf(ProgressKind::LogRecords).done, 25u);
    EXPECT_EQ(job.progressOf(ProgressKind::FirmwareChunks), JobProgress{}) << "the firmware bar stays out of it";
    finishJob();
    EXPECT_FALSE(job.running);
    EXPECT_EQ(job.progressOf(ProgressKind::LogRecords), JobProgress{}) << "no progress once the job ended";

    // The next job starts from nothing, whatever the last one reached.
    unit->update([](sim::SimState& s) { s.faults.silent = false; });
    dispatcher->requestLogs(LogKind::Dive, {entry});
    EXPECT_EQ(job.progress, JobProgress{});
    finishJob();
    EXPECT_EQ(frame.ended.back(), JobKind::DiveLogs);
    ASSERT_EQ(app.savedDiveNames.size(), 1u);
}

// Faults 5 and 6: "ONLINE" is the unit's answers, not the socket; a lost
// link says so and goes dark at once.
TEST_F(Dispatcher, OnlineMeansTheUnitAnsweredWithinTheOnlinePeriod)
{
    dispatcher->begin();
    EXPECT_FALSE(frame.online);
    EXPECT_EQ(frame.running.at(TIMER_ONLINE), 1000u);
    dispatcher->requestReadInfo();
    finishJob();
    EXPECT_TRUE(frame.online);
    EXPECT_TRUE(dispatcher->state().linkOpen);

    uiClock.advance(FramePeriods{}.onlinePeriodMs - 100);
    dispatcher->onTimer(TIMER_ONLINE);
    EXPECT_TRUE(frame.online);
    uiClock.advance(200);
    dispatcher->onTimer(TIMER_ONLINE);
    EXPECT_FALSE(frame.online) << "nothing heard of the unit for the online period";
    EXPECT_TRUE(frame.timerRunning(TIMER_ONLINE));

    // The unit goes away: the failed read says the link was lost, closes it,
    // and the values read before are not shown as this read's.
    dispatcher->requestReadInfo();
    finishJob();
    EXPECT_TRUE(frame.online);
    unit->update([](sim::SimState& s) { s.faults.silent = true; });
    dispatcher->requestReadInfo();
    finishJob();
    EXPECT_FALSE(frame.online);
    EXPECT_FALSE(dispatcher->state().linkOpen);
    EXPECT_EQ(frame.statusTexts.back(), "No responce from unit. Please, check unit nr.");
    EXPECT_NE(dispatcher->state().unit.resultText.find("Link lost: unit 1234 did not answer"), std::string::npos);
    EXPECT_FALSE(dispatcher->state().unit.versions);
    EXPECT_FALSE(dispatcher->state().unit.voltage);

    // It is back: the next request connects afresh and reads at once.
    unit->update([](sim::SimState& s) { s.faults.silent = false; });
    dispatcher->requestReadInfo();
    finishJob();
    EXPECT_TRUE(dispatcher->state().unit.versions);
    EXPECT_TRUE(frame.online);
}

// Fault 7: a close during an update asks; "No" keeps everything running;
// "Yes" stops at a chunk, tells how to finish, then closes.
TEST_F(Dispatcher, CloseDuringAnUpdateAsksStopsAndTellsHowToFinish)
{
    app.config.setUnitNumberText("1234");
    std::promise<void> reached, go;
    std::shared_future<void> goLater = go.get_future().share();
    queue.onLine = [&](const std::string& line) {
        if (line == "Enter BL mode....") {
            reached.set_value();
            goLater.wait();
        }
    };
    dispatcher->requestFirmware(image(0x4A02));
    reached.get_future().wait();

    frame.answerYes = false;
    EXPECT_FALSE(dispatcher->requestClose());
    ASSERT_EQ(frame.questions.size(), 1u);
    EXPECT_EQ(frame.questions[0], kCloseDuringUpdateQuestion);
    EXPECT_FALSE(app.worker->stopRequested()) << "the user said no";

    frame.answerYes = true;
    EXPECT_FALSE(dispatcher->requestClose());
    EXPECT_TRUE(dispatcher->closePending());
    EXPECT_TRUE(app.worker->stopRequested());
    EXPECT_EQ(dispatcher->statusText(), kClosingText);
    go.set_value();
    finishJob();
    EXPECT_TRUE(frame.closed);
    EXPECT_EQ(frame.notices, std::vector<std::string>{kUpdateStoppedNotice});
    EXPECT_TRUE(dispatcher->unitWaitsInBootloader(0x1234));
    EXPECT_NE(dispatcher->state().unit.resultText.find(kBootloaderContinuation), std::string::npos);

    // The next start knows it from the store: a Read Info that gets no
    // answer says where the unit waits and how to go on.
    linkClock.advance(10000);
    ASSERT_EQ(unit->mode(), sim::SimUnit::Mode::Bootloader);
    makeDispatcher();
    EXPECT_TRUE(dispatcher->unitWaitsInBootloader(0x1234));
    dispatcher->requestReadInfo();
    finishJob();
    EXPECT_EQ(frame.statusTexts.back(), "No responce from unit. Please, check unit nr.");
    EXPECT_NE(dispatcher->state().unit.resultText.find(kBootloaderContinuation), std::string::npos);

    // Continued with BL: done, and the unit is read again by itself.
    app.config.setUnitNumberText("BL");
    dispatcher->requestFirmware(image(0x4A02));
    finishJob();
    EXPECT_FALSE(dispatcher->unitWaitsInBootloader(0x1234));
    EXPECT_EQ(unit->state().firmwareVersion(), 0x4A02);
}

TEST_F(Dispatcher, TheSystemsQuitStopsWithoutAQuestion)
{
    dispatcher->requestReadInfo();
    EXPECT_FALSE(dispatcher->requestQuit());
    EXPECT_TRUE(frame.questions.empty());
    finishJob();
    EXPECT_TRUE(frame.closed);
    EXPECT_TRUE(frame.notices.empty());
    EXPECT_TRUE(dispatcher->requestQuit()) << "nothing runs: at once";
}

// Fault 8: an update makes the versions stale, so they show "--" until the
// read that follows by itself fills them in.
TEST_F(Dispatcher, AFinishedUpdateReadsTheUnitAgainByItself)
{
    app.config.setUnitNumberText("1234");
    dispatcher->requestReadInfo();
    finishJob();
    ASSERT_EQ(dispatcher->state().unit.versions->mainVersion, 0x49);
    dispatcher->requestFirmware(image(0x4A03));
    ASSERT_TRUE(app.worker->waitFinished(20000));
    linkClock.advance(5000);  // the unit restarts into its new firmware
    queue.deliverTo(*dispatcher);
    EXPECT_FALSE(dispatcher->state().unit.versions) << "not the old version, and not 0";
    EXPECT_TRUE(dispatcher->busy());
    EXPECT_EQ(dispatcher->state().job.kind, JobKind::ReadInfo);
    EXPECT_EQ(frame.statusTexts.back(), "Read info from unit 1234");
    finishJob();
    ASSERT_TRUE(dispatcher->state().unit.versions);
    EXPECT_EQ(dispatcher->state().unit.versions->mainVersion, 0x4A);
    EXPECT_EQ(dispatcher->state().unit.versions->betaNumber, 0x03);
}

// A unit that takes longer to restart than the update waits for is tried
// again a few times, then left to the user.
TEST_F(Dispatcher, AUnitSlowToRestartAfterAnUpdateIsReadAgainLater)
{
    unit->update([](sim::SimState& s) { s.restartMs = 8000; });
    dispatcher->requestFirmware(image(0x4A04));
    finishJob();
    ASSERT_EQ(dispatcher->state().job.kind, JobKind::ReadInfo) << "read again by itself";
    finishJob();
    EXPECT_FALSE(dispatcher->state().unit.versions) << "not back yet";
    ASSERT_TRUE(frame.timerRunning(TIMER_REREAD));
    EXPECT_EQ(frame.running.at(TIMER_REREAD), FramePeriods{}.rereadMs);
    linkClock.advance(8000);
    dispatcher->onTimer(TIMER_REREAD);
    ASSERT_TRUE(dispatcher->busy());
    finishJob();
    ASSERT_TRUE(dispatcher->state().unit.versions);
    EXPECT_EQ(dispatcher->state().unit.versions->mainVersion, 0x4A);
    EXPECT_FALSE(frame.timerRunning(TIMER_REREAD));

    // A unit that does not come back: three reads, then it is the user's turn.
    unit->update([](sim::SimState& s) {
        s.inBootloader = true;
        s.restartMs = 600000;
    });
    app.config.setUnitNumberText("BL");
    dispatcher->requestFirmware(image(0x4A05));
    finishJob();
    int reads = 0;
    while (dispatcher->busy() && reads < 10) {
        ++reads;
        finishJob();
        if (frame.timerRunning(TIMER_REREAD))
            dispatcher->onTimer(TIMER_REREAD);
    }
    EXPECT_EQ(reads, 3);
    EXPECT_FALSE(frame.timerRunning(TIMER_REREAD));
    EXPECT_FALSE(dispatcher->state().unit.versions);
}

TEST_F(Dispatcher, DownloadedDiveIsSavedAndTheTreeRebuilt)
{
    selectUnitNode("1234", kDiveLogNode);
    finishJob();
    CDiveInfo entry = dispatcher->state().dives.entries.at(1);
    dispatcher->requestLogs(LogKind::Dive, {entry});
    EXPECT_EQ(frame.statusTexts.back().rfind("Read divedata from unit 1234 index 1", 0), 0u);
    finishJob();
    ASSERT_EQ(app.savedDiveNames.size(), 1u);
    EXPECT_EQ(app.savedDiveNames[0].rfind("KTL_SN1234_", 0), 0u);
    EXPECT_GE(frame.rebuilds, 1);
    EXPECT_TRUE(frame.errors.empty());
    EXPECT_TRUE(dispatcher->state().diveDownloadNote.empty());

    CDiveInfo other = dispatcher->state().dives.entries.at(2);
    dispatcher->requestLogs(LogKind::Dive, {entry, other});
    EXPECT_EQ(frame.statusTexts.back(), "Read 2 dives from unit 1234");
    finishJob();
}

TEST_F(Dispatcher, SavedRootAndUnitShowTheLogbookASavedLogItsDive)
{
    dispatcher->treeSelected(selectionLabels(kSavedRoot, "", ""));
    EXPECT_EQ(frame.showing, VIEW_LOGBOOK);
    EXPECT_EQ(frame.rebuilds, 1);  // the saved logs listed again
    dispatcher->treeSelected(selectionLabels("1A2B", kSavedRoot, ""));
    EXPECT_EQ(frame.showing, VIEW_LOGBOOK);
    EXPECT_EQ(frame.rebuilds, 1);
    dispatcher->treeSelected(selectionLabels("2012-05-06_14-22-33_O", "1A2B", kSavedRoot));
    EXPECT_EQ(frame.showing, VIEW_DIVE);
    EXPECT_EQ(frame.selections.size(), 3u);  // each handed to the view showing
    EXPECT_EQ(frame.statusTexts.back(), "Select a dive log");
    EXPECT_FALSE(dispatcher->busy());
}

// "Health" under a saved unit shows that unit's health and never asks the
// unit; its sibling logs still show in the dive view.
TEST_F(Dispatcher, HealthNodeShowsTheHealthViewWithoutAJob)
{
    dispatcher->treeSelected(selectionLabels(kHealthNode, "1A2B", kSavedRoot));
    EXPECT_EQ(frame.showing, VIEW_HEALTH);
    EXPECT_FALSE(dispatcher->busy());
    EXPECT_EQ(frame.statusTexts.back(), "Health of unit 1A2B across its saved dives");
    ASSERT_FALSE(frame.selections.empty());
    EXPECT_EQ(frame.selections.back(), kHealthNode);
    dispatcher->treeSelected(selectionLabels("2012-05-06_14-22-33_O", "1A2B", kSavedRoot));
    EXPECT_EQ(frame.showing, VIEW_DIVE);

    SavedUnitGroup group{"1A2B", {"2010-02-03_04-05-06_O", "2012-05-06_14-22-33_O"}};
    EXPECT_EQ(SavedUnitNodes(group),
              (std::vector<std::string>{kHealthNode, "2010-02-03_04-05-06_O", "2012-05-06_14-22-33_O"}));
}

TEST(TreeRules, LabelsReadRootFirstWhateverTheLevel)
{
    TreeLabels root = selectionLabels(kUnitRoot, "", "");
    EXPECT_EQ(root.rootLabel, kUnitRoot);
    EXPECT_EQ(root.unitLabel, "");
    EXPECT_EQ(selectionBranch(root), TreeBranch::Units);
    TreeLabels unit = selectionLabels("1A2B", kUnitRoot, "");
    EXPECT_EQ(unit.unitLabel, "1A2B");
    EXPECT_EQ(unit.nodeLabel, "");
    TreeLabels node = selectionLabels(kRedboxLogNode, "1A2B", kUnitRoot);
    EXPECT_EQ(node.nodeLabel, kRedboxLogNode);
    TreeLabels saved = selectionLabels("2012-05-06_14-22-33_O", "1A2B", kSavedRoot);
    EXPECT_EQ(selectionBranch(saved), TreeBranch::SavedLogs);
    EXPECT_EQ(selectionBranch(selectionLabels("", "", "")), TreeBranch::None);
}

}  // namespace
}  // namespace ravo::test
