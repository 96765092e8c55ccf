#include <QApplication>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <thread>

#include "app/tree_rules.h"
#include "desktop/job_event_bridge.h"
#include "desktop/list_unit.h"
#include "divedata/dive_log.h"
#include "divedata/saved_logs.h"
#include "support/recording_events.h"
#include "support/temp_dir.h"

namespace ravo::test {
namespace {

using desktop::MListUnit;

// Keeps the labels of each selection the tree reported.
struct LabelRecorder : FrameRequests {
    void treeSelected(const TreeLabels& selected) override
    {
        branches.push_back(selectionBranch(selected));
        labels.push_back(selected);
    }
    void requestReadInfo() override {}
    void requestFirmware(const std::string&) override {}
    void requestLogs(LogKind, const std::vector<CDiveInfo>&) override {}
    void requestFixSerial() override {}
    void requestEditRow(const EditRowRequest&) override {}
    void requestRestore(const RestoreRequest&) override {}
    void requestPowerDown() override {}
    void requestTestLink(const std::string&) override {}
    void requestStop() override {}
    void showStatus(const std::string&) override {}
    std::vector<TreeBranch> branches;
    std::vector<TreeLabels> labels;
};

QStringList childTexts(QTreeWidgetItem* item)
{
    QStringList texts;
    for (int i = 0; item && i < item->childCount(); ++i)
        texts << item->child(i)->text(0);
    return texts;
}

TEST(ListUnit, SavedLogsGroupByFourDigitUnitInTimeOrder)
{
    LabelRecorder frame;
    std::vector<std::string> names = {"KTL_SN1A2B_2012-05-06_14-22-33_O", "KTL_SNAB_2011-01-01_00-00-00_O",
                                      "KTL_SN1A2B_2010-02-03_04-05-06_O", "notalog_O", "KTL_SN1A2B_nokind",
                                      "KTL_SN00AB_2011-01-01_00-00-00_O"};
    MListUnit tree(frame, names);
    EXPECT_EQ(childTexts(tree.findRoot("Dive log")), (QStringList{"00AB", "1A2B"}));
    EXPECT_EQ(childTexts(tree.findChild("Dive log", "00AB")), (QStringList{"Health", "2011-01-01_00-00-00_O"}));
    EXPECT_EQ(childTexts(tree.findChild("Dive log", "1A2B")),
              (QStringList{"Health", "2010-02-03_04-05-06_O", "2012-05-06_14-22-33_O"}));
    EXPECT_TRUE(frame.branches.empty());

    names.clear();
    tree.rebuildSavedLogs();
    EXPECT_EQ(tree.findRoot("Dive log")->childCount(), 0);
}

TEST(ListUnit, AUnitAnsweringTwiceKeepsOneNodeWithItsTwoLogs)
{
    LabelRecorder frame;
    std::vector<std::string> names;
    MListUnit tree(frame, names);
    for (int i = 0; i < 2; ++i) {
        tree.ensureGrandchild("Ravo unit", "1234", "Dive log");
        tree.ensureGrandchild("Ravo unit", "1234", "Redbox log");
    }
    tree.ensureGrandchild("Ravo unit", "0FFF", "Dive log");
    EXPECT_EQ(childTexts(tree.findRoot("Ravo unit")), (QStringList{"0FFF", "1234"}));
    EXPECT_EQ(childTexts(tree.findChild("Ravo unit", "1234")), (QStringList{"Dive log", "Redbox log"}));
    EXPECT_EQ(tree.topLevelItemCount(), 2);
}

TEST(ListUnit, SelectionsSendTheirLabelsRootFirst)
{
    LabelRecorder frame;
    std::vector<std::string> names = {"KTL_SN1A2B_2012-05-06_14-22-33_O"};
    MListUnit tree(frame, names);
    tree.ensureGrandchild("Ravo unit", "1A2B", "Redbox log");
    tree.show();
    ASSERT_TRUE(tree.selectPath({"Ravo unit", "1A2B", "Redbox log"}));
    ASSERT_TRUE(tree.selectPath({"Dive log"}));
    ASSERT_TRUE(tree.selectPath({"Dive log", "1A2B", "2012-05-06_14-22-33_O"}));
    ASSERT_TRUE(tree.selectPath({"Dive log", "1A2B", "Health"}));
    ASSERT_EQ(frame.branches.size(), 4u);
    EXPECT_EQ(frame.branches[3], TreeBranch::SavedLogs);
    EXPECT_EQ(frame.labels[3].unitLabel, "1A2B");
    EXPECT_EQ(frame.labels[3].nodeLabel, "Health");
    EXPECT_EQ(frame.branches[0], TreeBranch::Units);
    EXPECT_EQ(frame.labels[0].unitLabel, "1A2B");
    EXPECT_EQ(frame.labels[0].nodeLabel, "Redbox log");
    EXPECT_EQ(frame.branches[1], TreeBranch::SavedLogs);
    EXPECT_EQ(frame.labels[1].unitLabel, "");
    EXPECT_EQ(frame.labels[2].nodeLabel, "2012-05-06_14-22-33_O");

    // Keyboard: Left from a saved log goes to its unit node.
    tree.setFocus();
    QTest::keyClick(&tree, Qt::Key_Left);  // to the parent
    EXPECT_EQ(frame.labels.back().unitLabel, "1A2B");
    EXPECT_EQ(frame.labels.back().nodeLabel, "");
}

// A log saved before all of it arrived says so in its node's text (which a
// screen reader reads); the selection still carries its bare label.
TEST(ListUnit, APartialLogSaysSoInTheTree)
{
    TempDir folder;
    CDiveLog cut;
    cut.isDive = true;
    cut.info.unitNumber = 0x1A2B;
    cut.info.startTime = 1336314153 - 946684800;  // 2012-05-06 14:22:33 UTC
    cut.info.recordCount = 12000;
    cut.samples.assign(4600, CDiveDataRecord{0, 8, 10});
    cut.partial = true;
    ASSERT_EQ(cut.saveDive(folder.path()), kLogSaved);
    std::vector<std::string> names;
    ListSavedDiveLogs(folder.path(), names);

    LabelRecorder frame;
    MListUnit tree(frame, names);
    const std::string diveFolder = folder.path();
    tree.setDiveFolder(&diveFolder);
    EXPECT_EQ(childTexts(tree.findChild("Dive log", "1A2B")),
              (QStringList{"Health", "2012-05-06_14-22-33_O (partial, records 4600 of 12000)"}));
    tree.show();
    ASSERT_TRUE(tree.selectPath({"Dive log", "1A2B", "2012-05-06_14-22-33_O"}));
    ASSERT_FALSE(frame.labels.empty());
    EXPECT_EQ(frame.labels.back().nodeLabel, "2012-05-06_14-22-33_O");
}

// The bridge: a job's events, sent from the worker's thread, arrive on the
// UI thread in their order, after the sender went on: the worker never waits
// for the window.
TEST(JobEventBridge, EventsArriveOnTheUiThreadQueuedAndInOrder)
{
    struct ThreadRecorder : RecordingEvents {
        void statusLine(const std::string& text) override
        {
            onUiThread.push_back(QThread::currentThread() == qApp->thread());
            RecordingEvents::statusLine(text);
        }
        void jobFinished(const JobOutcome& outcome) override
        {
            onUiThread.push_back(QThread::currentThread() == qApp->thread());
            RecordingEvents::jobFinished(outcome);
        }
        std::vector<bool> onUiThread;
    } target;
    desktop::JobEventBridge bridge;
    bridge.connectTo(target);

    std::atomic<bool> sent{false};
    std::thread worker([&] {
        bridge.statusLine("from the worker");
        JobProgress progress{ProgressKind::LogRecords, 25, 100, 25};
        bridge.progress(progress);
        CDiveLog log;
        log.info.index = 7;
        bridge.logDownloaded(log);
        JobOutcome outcome;
        outcome.kind = JobKind::DiveLogs;
        outcome.result = LogsResult{1, 1, 1};
        bridge.jobFinished(outcome);
        sent = true;
    });
    worker.join();
    EXPECT_TRUE(sent) << "the sender did not wait for the window";
    EXPECT_TRUE(target.entries().empty()) << "nothing handled before the event loop runs";
    for (int i = 0; i < 100 && !target.outcome(); ++i)
        QTest::qWait(5);
    using Kind = RecordingEvents::Kind;
    EXPECT_EQ(target.kinds(), (std::vector<Kind>{Kind::Status, Kind::Progress, Kind::Log, Kind::Finished}));
    EXPECT_EQ(target.lines(), std::vector<std::string>{"from the worker"});
    EXPECT_EQ(target.progressEvents().at(0).done, 25u);
    EXPECT_EQ(target.logs().at(0).info.index, 7);
    ASSERT_TRUE(target.outcome());
    EXPECT_EQ(target.outcome()->code(), 1);
    EXPECT_EQ(target.onUiThread, (std::vector<bool>{true, true}));

    // A program ending hands over what was sent without its event loop.
    bridge.statusLine("last words");
    bridge.deliverPending();
    EXPECT_EQ(target.lines().back(), "last words");
}

}  // namespace
}  // namespace ravo::test
