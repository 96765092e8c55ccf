#include <QApplication>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <thread>

#include "desktop/list_unit.h"
#include "desktop/message_bridge.h"
#include "divedata/dive_log.h"
#include "divedata/saved_logs.h"
#include "support/temp_dir.h"

namespace ravo::test {
namespace {

using desktop::MListUnit;

// Keeps the labels each selection message carried.
struct LabelRecorder : MessageReceiver {
    intptr_t sendMessage(unsigned message, uintptr_t, intptr_t lParam) override
    {
        messages.push_back(message);
        labels.push_back(*reinterpret_cast<const TreeLabels*>(lParam));
        return 1;
    }
    std::vector<unsigned> messages;
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
    EXPECT_EQ(childTexts(tree.findChild("Dive log", "00AB")), QStringList{"2011-01-01_00-00-00_O"});
    EXPECT_EQ(childTexts(tree.findChild("Dive log", "1A2B")),
              (QStringList{"2010-02-03_04-05-06_O", "2012-05-06_14-22-33_O"}));
    EXPECT_TRUE(frame.messages.empty());

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
    ASSERT_EQ(frame.messages.size(), 3u);
    EXPECT_EQ(frame.messages[0], unsigned(UM_TREE_UNIT));
    EXPECT_EQ(frame.labels[0].unitLabel, "1A2B");
    EXPECT_EQ(frame.labels[0].nodeLabel, "Redbox log");
    EXPECT_EQ(frame.messages[1], unsigned(UM_TREE_SAVED_DIVE));
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
              QStringList{"2012-05-06_14-22-33_O (partial, records 4600 of 12000)"});
    tree.show();
    ASSERT_TRUE(tree.selectPath({"Dive log", "1A2B", "2012-05-06_14-22-33_O"}));
    ASSERT_FALSE(frame.labels.empty());
    EXPECT_EQ(frame.labels.back().nodeLabel, "2012-05-06_14-22-33_O");
}

// The bridge: a call from another thread runs on the UI thread, the sender
// waiting for its result; a call on the UI thread is direct.
TEST(MessageBridge, WorkerCallsRunOnTheUiThreadAndUiCallsDirectly)
{
    struct ThreadRecorder : MessageReceiver {
        intptr_t sendMessage(unsigned message, uintptr_t, intptr_t lParam) override
        {
            onUiThread.push_back(QThread::currentThread() == qApp->thread());
            text = reinterpret_cast<const char*>(lParam);
            return intptr_t(message) + 1;
        }
        std::vector<bool> onUiThread;
        std::string text;
    } target;
    desktop::MessageBridge bridge(target);
    EXPECT_EQ(bridge.sendMessage(UM_STATUS_TEXT, 0, reinterpret_cast<intptr_t>("direct")), UM_STATUS_TEXT + 1);

    intptr_t fromWorker = 0;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        char line[] = "from the worker";
        fromWorker = bridge.sendMessage(UM_PROGRESS, 0, reinterpret_cast<intptr_t>(line));
        line[0] = 'X';  // the text was read during the call
        done = true;
    });
    for (int i = 0; i < 500 && !done; ++i)
        QTest::qWait(10);
    worker.join();
    EXPECT_EQ(fromWorker, UM_PROGRESS + 1);
    EXPECT_EQ(target.text, "from the worker");
    EXPECT_EQ(target.onUiThread, (std::vector<bool>{true, true}));
}

}  // namespace
}  // namespace ravo::test
