#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <cstdio>

#include "divedata/saved_logs.h"

#include "app/frame_dispatcher.h"
#include "desktop/views/view_unit_dive.h"
#include "desktop/views/view_unit_redbox.h"
#include "shell_fixture.h"

namespace ravo::test {
namespace {

using desktop::CMainFrame;

class MainFrame : public ShellTest {
protected:
    // Types the unit number, presses "Read Info" and waits for the job.
    void readInfo(const QString& unit)
    {
        auto* box = named<QLineEdit>("Unit number");
        ASSERT_NE(box, nullptr);
        box->clear();
        QTest::keyClicks(box, unit);
        auto* button = named<QPushButton>("Read Info");
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] { return !jobRunning(); }));
    }
};

// A newcomer starts at the unit, with its first step under "Read Info"
// until the first read.
TEST_F(MainFrame, OpensOnTheUnitViewWithTheFirstStepAndBothRoots)
{
    startApp();
    openFrame();
    EXPECT_EQ(frame->windowTitle(), "Ravo_Config v1.35");
    EXPECT_EQ(frame->viewShowing(), VIEW_UNIT);
    ASSERT_EQ(frame->tree().selectedItems().size(), 1);
    EXPECT_EQ(frame->tree().selectedItems().first()->text(0), "Ravo unit");
    EXPECT_NE(dynamic_cast<desktop::CViewUnitRedbox*>(frame->view(VIEW_UNIT_REDBOX)), nullptr);
    const QString hint = "Result Switch the unit on, hold it in front of the IrDA port, type its unit number and "
                         "press Read Info.";
    EXPECT_NE(named<QLabel>(hint), nullptr);
    EXPECT_NE(named("Units and saved logs"), nullptr);
    EXPECT_EQ(frame->tree().topLevelItemCount(), 2);
    EXPECT_EQ(frame->tree().topLevelItem(0)->text(0), "Ravo unit");
    EXPECT_TRUE(frame->tree().topLevelItem(1)->font(0).bold());
    EXPECT_EQ(frame->onlineText(), "");
    readInfo("1234");
    EXPECT_EQ(named<QLabel>(hint), nullptr);
    EXPECT_FALSE(named<QLabel>("Result")->text().contains("Read Info")) << named<QLabel>("Result")->text().toStdString();
}

TEST_F(MainFrame, DiveLogNodeReadsTheDirectoryOnceUntilTheLinkIdles)
{
    startApp();
    openFrame({1000, 500});
    clickNode({"Ravo unit"});
    readInfo("1234");
    ASSERT_NE(frame->tree().findGrandchild("Ravo unit", "1234", "Dive log"), nullptr);
    ASSERT_NE(frame->tree().findGrandchild("Ravo unit", "1234", "Redbox log"), nullptr);

    ASSERT_TRUE(clickNode({"Ravo unit", "1234", "Dive log"}));
    EXPECT_EQ(frame->dispatcher().state().job.kind, JobKind::DiveDirectory);
    EXPECT_EQ(frame->viewShowing(), VIEW_UNIT_DIVE);
    ASSERT_TRUE(waitFor([&] { return !jobRunning(); }));
    EXPECT_EQ(frame->dispatcher().state().dives.entries.size(), 4u);

    // Again within the idle period: nothing read.
    clickNode({"Ravo unit", "1234"});
    ASSERT_TRUE(clickNode({"Ravo unit", "1234", "Dive log"}));
    EXPECT_EQ(status(), "Double-click to get dive data from unit");
    EXPECT_FALSE(jobRunning());

    // After the idle period the link is closed and the next selection reads.
    clickNode({"Ravo unit", "1234"});
    ASSERT_TRUE(waitFor([&] { return !frame->dispatcher().diveDirectoryRead(); }, 5000));
    EXPECT_FALSE(app->worker->linkOpen());
    ASSERT_TRUE(clickNode({"Ravo unit", "1234", "Dive log"}));
    EXPECT_EQ(frame->dispatcher().state().job.kind, JobKind::DiveDirectory);
    ASSERT_TRUE(waitFor([&] { return !jobRunning(); }));
}

TEST_F(MainFrame, FixFfffWithAnotherNumberOnlyWritesTheErrorLine)
{
    startApp();
    openFrame();
    clickNode({"Ravo unit"});
    auto* box = named<QLineEdit>("Unit number");
    ASSERT_NE(box, nullptr);
    box->clear();
    QTest::keyClicks(box, "1234");
    app->config.setUnitNumberText(box->text().toStdString());
    frame->requests().requestFixSerial();
    EXPECT_EQ(status(), "Please enter FFFF in serial number field");
    EXPECT_FALSE(jobRunning());
    EXPECT_FALSE(app->worker->running());
    app->log.close();
    std::string log = readFile(dir.file("loggfile.txt"));
    EXPECT_NE(log.find(" : UNIT_CMD_FIX_LOST_SR 1234 - error, serial number is not FFFF\r\n"), std::string::npos);
}

TEST_F(MainFrame, FinishedDiveDownloadAppearsUnderTheSavedLogs)
{
    startApp();
    openFrame();
    CDiveInfo entry;
    entry.unitNumber = 0x1234;
    entry.index = 1;
    frame->requests().requestLogs(LogKind::Dive, {entry});
    EXPECT_EQ(status(), "Read divedata from unit 1234 index 1");
    ASSERT_TRUE(waitFor([&] { return !jobRunning(); }));
    ASSERT_EQ(app->savedDiveNames.size(), 1u);
    const std::string stamp = DateKindFromLogName(app->savedDiveNames[0]);
    QTreeWidgetItem* saved = frame->tree().findGrandchild("Dive log", "1234", QString::fromStdString(stamp));
    ASSERT_NE(saved, nullptr);

    // Selecting it shows the dive view with the labels of the saved log.
    ASSERT_TRUE(clickNode({"Dive log", "1234", QString::fromStdString(stamp)}));
    EXPECT_EQ(frame->viewShowing(), VIEW_DIVE);
    EXPECT_EQ(status(), "Select a dive log");
    EXPECT_EQ(frame->tree().labels().unitLabel, "1234");
    EXPECT_EQ(frame->tree().labels().nodeLabel, stamp);

    // Its files gone, a rebuild drops the selected node without re-entering.
    std::remove((app->config.diveFolder + "/" + app->savedDiveNames[0] + ".csv").c_str());
    app->listSavedDives();
    frame->rebuildSavedLogs();
    EXPECT_EQ(frame->tree().findChild("Dive log", "1234"), nullptr);
    EXPECT_EQ(frame->tree().labels().nodeLabel, "");
}

TEST_F(MainFrame, RequestDuringAJobStartsNothing)
{
    startApp(slowLongDive());
    openFrame();
    CDiveInfo entry;
    entry.unitNumber = 0x1234;
    entry.index = 0;
    frame->requests().requestLogs(LogKind::Dive, {entry});
    ASSERT_TRUE(jobRunning());
    const JobStatus& job = frame->dispatcher().state().job;
    ASSERT_TRUE(waitFor([&] { return job.progress.done > 0; }));

    CDiveInfo other;
    other.unitNumber = 0x4321;
    other.index = 7;
    frame->requests().requestLogs(LogKind::Redbox, {other});
    EXPECT_EQ(status(), kUnitBusyText);
    app->config.setUnitNumberText("2222");
    frame->requests().requestReadInfo();
    EXPECT_EQ(status(), kUnitBusyText);
    EXPECT_EQ(job.kind, JobKind::DiveLogs) << "the running job continues";

    frame->requests().requestStop();
    ASSERT_TRUE(waitFor([&] { return !jobRunning(); })) << status();
    EXPECT_EQ(app->worker->lastOutcome().kind, JobKind::DiveLogs);
}

TEST_F(MainFrame, ClosingDuringADownloadSavesWhatArrivedAndEnds)
{
    startApp(slowLongDive());
    openFrame();
    CDiveInfo entry;
    entry.unitNumber = 0x1234;
    frame->requests().requestLogs(LogKind::Dive, {entry});
    ASSERT_TRUE(waitFor([&] { return frame->dispatcher().state().job.progress.done > 200; }));

    frame->close();
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(status(), kClosingText);
    ASSERT_TRUE(waitFor([&] { return !frame->isVisible(); }));
    EXPECT_FALSE(jobRunning());
    ASSERT_EQ(app->savedDiveNames.size(), 1u);
    std::string csv = readFile(app->config.diveFolder + "/" + app->savedDiveNames[0] + ".csv");
    size_t records = splitLines(csv).size();
    EXPECT_GT(records, 200u);
    EXPECT_LT(records, 12000u);
}

TEST_F(MainFrame, AWindowClosedMaximisedReopensMaximised)
{
    startApp();
    openFrame();
    frame->setGeometry(40, 50, 700, 500);
    const QRect normal = frame->geometry();
    frame->showMaximized();
    ASSERT_TRUE(waitFor([&] { return frame->isMaximized(); }, 2000));
    frame->close();
    EXPECT_EQ(app->configStore()->readText("Settings", "WindowPos", "").substr(0, 4), "2,3,");

    openFrame();
    ASSERT_TRUE(waitFor([&] { return frame->isMaximized(); }, 2000));
    // The normal rectangle to come back to is the one of the last run.
    EXPECT_EQ(frame->normalGeometry(), normal);
}

TEST_F(MainFrame, SplitterWidthsComeBack)
{
    startApp();
    openFrame();
    frame->splitter().setSizes({230, 500});
    const int left = frame->splitter().sizes()[0];
    frame->close();
    openFrame();
    EXPECT_EQ(frame->splitter().sizes()[0], left);
}

TEST_F(MainFrame, HiddenBarsStayHidden)
{
    startApp();
    openFrame();
    QAction* toolbar = nullptr;
    QAction* status = nullptr;
    for (QAction* top : frame->menuBar()->actions())
        if (top->text() == "&View")
            for (QAction* action : top->menu()->actions())
                (action->text() == "&Toolbar" ? toolbar : status) = action;
    ASSERT_NE(toolbar, nullptr);
    ASSERT_NE(status, nullptr);
    toolbar->trigger();
    status->trigger();
    EXPECT_FALSE(frame->statusBar()->isVisible());
    frame->close();
    openFrame();
    EXPECT_FALSE(frame->statusBar()->isVisible());
    EXPECT_FALSE(frame->findChild<QToolBar*>()->isVisible());
}

TEST_F(MainFrame, F6MovesTheFocusBetweenTreeAndView)
{
    startApp();
    openFrame();
    QApplication::setActiveWindow(frame.get());
    frame->tree().setFocus();
    clickNode({"Ravo unit"});
    ASSERT_EQ(frame->viewShowing(), VIEW_UNIT);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    // The view's first control, not the view around it.
    EXPECT_TRUE(frame->view(VIEW_UNIT)->isAncestorOf(QApplication::focusWidget()));
    EXPECT_EQ(QApplication::focusWidget()->accessibleName(), "Unit number");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), &frame->tree());
}

}  // namespace
}  // namespace ravo::test
