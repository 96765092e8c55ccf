#include <algorithm>
#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "app/unit_view_rules.h"
#include "desktop/unit/settings_list_ctrl.h"
#include "settings/settings_rows.h"
#include "link/unit_time.h"
#include "sim/sim_firmware_image.h"
#include "desktop/frame_signals.h"
#include "desktop/list_unit.h"
#include "unit_view_bench.h"

namespace ravo::test {
namespace {

QString textOf(QWidget* w)
{
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    return {};
}

void click(QWidget* w)
{
    ASSERT_TRUE(w);
    QTest::mouseClick(static_cast<QAbstractButton*>(w), Qt::LeftButton);
}

// Waits, with the event loop running, until the job holds in a status line.
bool waitForHold(UnitViewBench& bench)
{
    for (int i = 0; i < 1000; ++i) {
        if (bench.events->waitHeld(1))
            return true;
        QTest::qWait(1);
    }
    return false;
}

TEST(UnitView, ReadInfoFillsTheInfoValuesAndTheRowsOfEachFirmwareFamily)
{
    struct Family {
        const char* preset;
        const char* software;
        int rows;
    } families[] = {{"fw4512", "ver 45b12", 22}, {"fw4700", "ver 47", 28}, {"fw4925", "ver 49b25", 33}};
    for (const Family& f : families) {
        UnitViewBench bench(f.preset);
        EXPECT_EQ(textOf(bench.control("Voltage")), "--");
        EXPECT_EQ(textOf(bench.control("HUD")), "--");
        EXPECT_EQ(bench.rowCount(), 0);
        bench.readInfo();
        EXPECT_EQ(textOf(bench.control("Voltage")), "3.950 V") << f.preset;
        EXPECT_EQ(textOf(bench.control("Software")), f.software);
        EXPECT_EQ(textOf(bench.control("HUD")), "ver 12  (HW 3)");
        EXPECT_EQ(textOf(bench.control("Battery")), "ver 17  (HW 2)");
        EXPECT_EQ(textOf(bench.control("Result")).isEmpty(), false);
        EXPECT_EQ(bench.rowCount(), f.rows) << f.preset;
        QTreeWidgetItem* hud = bench.row("HUD brightness");
        ASSERT_TRUE(hud);
        EXPECT_EQ(hud->text(1), "75");
        EXPECT_TRUE(hud->font(0).bold() && hud->font(1).bold());
        EXPECT_FALSE(bench.row("RMV value (liter)")->font(0).bold());
    }
}

TEST(UnitView, AnEditReachesTheUnitAndTheListShowsTheValueReadBack)
{
    UnitViewBench bench;
    bench.readInfo();
    std::string dialogText, refusal;
    onNextModal([&](QWidget* dialog) {
        dialogText = dialog->windowTitle().toStdString() + "\n" + labelTexts(dialog);
        // Between two steps: refused with the range, never stored as 50 unseen.
        typeInto(dialog, "Edit HUD brightness", "60");
        clickButton(dialog, "OK");
        ASSERT_TRUE(dialog->isVisible());
        for (QLabel* label : dialog->findChildren<QLabel*>())
            if (label->isVisible() && label->accessibleName().contains("0..100  step 25"))
                refusal = label->accessibleName().toStdString();
        typeInto(dialog, "Edit HUD brightness", "50");
        clickButton(dialog, "OK");
    });
    bench.doubleClickRow("HUD brightness");
    EXPECT_EQ(dialogText, "Edit value\nEdit HUD brightness\n0..100  step 25\n");
    EXPECT_EQ(refusal, "60 is between two steps of the range 0..100  step 25. Enter a value from 0..100  step 25.");
    bench.finishJob();
    EXPECT_EQ(bench.unit->state().settings.hudBrightness, 2);
    // The edit, then the settings read it asked for.
    EXPECT_EQ(std::vector<JobKind>(bench.ended.end() - 2, bench.ended.end()),
              (std::vector<JobKind>{JobKind::EditRow, JobKind::ReadSettings}));
    EXPECT_EQ(bench.row("HUD brightness")->text(1), "50");
}

// The edit talks to the unit as a job on the worker: the window goes on
// painting, and no request can be made until the job has ended.
TEST(UnitView, TheWindowRepaintsAndTakesNoRequestWhileAnEditTalksToTheUnit)
{
    UnitViewBench bench;
    bench.readInfo();
    bench.events->holdStatusLines();
    onNextModal([&](QWidget* dialog) {
        typeInto(dialog, "Edit HUD brightness", "25");
        clickButton(dialog, "OK");
    });
    bench.doubleClickRow("HUD brightness");
    ASSERT_TRUE(bench.busy()) << "the edit is a job";
    ASSERT_TRUE(waitForHold(bench));
    int ticks = 0;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] { ++ticks; });
    sampler.start(2);
    // The job holds: the window's timers go on meanwhile.
    for (int i = 0; i < 400 && ticks < 3; ++i)
        QTest::qWait(5);
    EXPECT_GE(ticks, 3) << "the UI thread is free";
    EXPECT_FALSE(bench.control("Read Info")->isEnabled());
    EXPECT_FALSE(bench.control("Restore settings...")->isEnabled());
    bench.doubleClickRow("Oxygen part (%)");  // refused: no editor opens
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    sampler.stop();
    bench.events->release();
    bench.finishJob();
    EXPECT_EQ(bench.unit->state().settings.hudBrightness, 1);
    EXPECT_TRUE(bench.control("Read Info")->isEnabled());
}

TEST(UnitView, YesNoEditorsOfferTheListsTextsAndCancelSendsNothing)
{
    UnitViewBench bench;
    bench.readInfo();
    std::vector<QString> choices;
    onNextModal([&](QWidget* dialog) {
        for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>())
            if (b->isCheckable())
                choices.push_back(b->text() + (b->isChecked() ? "*" : ""));
        clickButton(dialog, "Cancel");
    });
    size_t before = bench.ended.size();
    bench.doubleClickRow("Deco enabled");
    EXPECT_EQ(choices, (std::vector<QString>{"Yes*", "No"}));
    EXPECT_FALSE(bench.busy());
    EXPECT_EQ(bench.ended.size(), before);

    onNextModal([&](QWidget* dialog) {
        clickButton(dialog, "No");
        clickButton(dialog, "OK");
    });
    bench.doubleClickRow("Deco enabled");
    bench.finishJob();
    EXPECT_EQ(bench.unit->state().settings.decoEnabled, 0);
    EXPECT_EQ(bench.row("Deco enabled")->text(1), "No");
}

TEST(UnitView, AReadOnlyRowSaysItCanNotBeChangedAndAClickBesideTheRowsOpensNothing)
{
    UnitViewBench bench;
    bench.readInfo();
    std::string notice;
    onNextModal([&](QWidget* box) {
        notice = static_cast<QMessageBox*>(box)->text().toStdString();
        clickButton(box, "OK");
    });
    bench.doubleClickRow("RMV value (liter)");
    EXPECT_EQ(notice, "Can not be changed");
    // Enter on the current row does what a double-click does.
    notice.clear();
    onNextModal([&](QWidget* box) {
        notice = static_cast<QMessageBox*>(box)->text().toStdString();
        clickButton(box, "OK");
    });
    bench.view->settingsList()->setCurrentItem(bench.row("Oxygen size (liter)"));
    QTest::keyClick(bench.view->settingsList(), Qt::Key_Return);
    EXPECT_EQ(notice, "Can not be changed");

    QTreeWidget* list = bench.view->settingsList();
    // A window tall enough to leave room below the rows.
    bench.frame->resize(1200, 2000);
    QPoint below;
    for (int i = 0; i < 200; ++i) {
        QTest::qWait(5);
        below = QPoint(20, list->viewport()->height() - 3);
        if (!list->itemAt(below))
            break;
    }
    ASSERT_EQ(list->itemAt(below), nullptr);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, below);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, below);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(bench.busy());
}

TEST(UnitView, WhileAJobRunsOnlyCancelTakesInputAndCancelStopsIt)
{
    UnitViewBench bench;
    bench.events->holdStatusLines();
    click(bench.control("Read Info"));
    ASSERT_TRUE(waitForHold(bench));
    EXPECT_FALSE(bench.control("Read Info")->isEnabled());
    EXPECT_FALSE(bench.control("Unit number")->isEnabled());
    EXPECT_FALSE(bench.control("FW Download")->isEnabled());
    EXPECT_FALSE(bench.control("PowerDown")->isEnabled());
    EXPECT_TRUE(bench.control("Cancel")->isEnabled());
    click(bench.control("Cancel"));
    EXPECT_TRUE(bench.app.worker->stopRequested());
    bench.events->release();
    bench.finishJob();
    EXPECT_TRUE(bench.control("Read Info")->isEnabled());
    EXPECT_FALSE(bench.control("Cancel")->isEnabled());
    EXPECT_TRUE(bench.control("PowerDown")->isEnabled());
    EXPECT_TRUE(bench.events->hasLine("User stopped...."));
}

TEST(UnitView, BootloaderAndForcedDownloadsKeepTheBoxOnTheUnitNumber)
{
    UnitViewBench bench;
    writeFile(bench.app.config.firmwareFolder + "/A.enc", "0001AA\n");
    writeFile(bench.app.config.firmwareFolder + "/B.enc", "0001AA\n");
    bench.frame->tree().selectPath({"Dive log"});
    bench.frame->tree().selectPath({"Ravo unit"});
    auto* list = static_cast<QComboBox*>(bench.control("Firmware"));
    EXPECT_EQ(list->currentText(), "B.enc");
    list->setCurrentIndex(0);
    bench.frame->tree().selectPath({"Dive log"});
    bench.frame->tree().selectPath({"Ravo unit"});
    EXPECT_EQ(list->currentText(), "A.enc");

    // Asked first, and "No" sends nothing.
    const std::string path = bench.app.config.firmwareFolder + "/A.enc";
    auto* box = static_cast<QLineEdit*>(bench.control("Unit number"));
    box->setText("bl");
    bench.answerDownload = false;
    click(bench.control("FW Download"));
    ASSERT_EQ(bench.downloadQuestions.size(), 1u);
    EXPECT_NE(bench.downloadQuestions[0].find("Send the firmware file A.enc to unit 1234?"), std::string::npos);
    EXPECT_NE(bench.downloadQuestions[0].find("The unit waits in its bootloader."), std::string::npos);
    EXPECT_FALSE(bench.busy());
    EXPECT_EQ(box->text(), "1234");

    bench.answerDownload = true;
    box->setText("bl");
    click(bench.control("FW Download"));
    EXPECT_EQ(bench.status(), "Firmware download BL [" + path + "]");
    bench.finishJob();

    box->setText(" 12* ");
    click(bench.control("FW Download"));
    EXPECT_EQ(bench.status(), "Firmware download FORCE [" + path + "]");
    EXPECT_EQ(box->text(), "0012");
    bench.finishJob();
    bench.app.log.close();
    const std::string log = readFile(bench.home.file("loggfile.txt"));
    EXPECT_NE(log.find("Firmware download BL 1234 : " + path), std::string::npos);
    EXPECT_NE(log.find("Firmware download FORCE 0012 : " + path), std::string::npos);

    // A file gone since the list was filled: no request, the status line says so.
    std::remove(path.c_str());
    const size_t asked = bench.downloadQuestions.size();
    click(bench.control("FW Download"));
    EXPECT_EQ(bench.downloadQuestions.size(), asked);
    EXPECT_FALSE(bench.busy());
    EXPECT_EQ(bench.status(), "File [A.enc] not found");
}

TEST(UnitView, AStoppedDownloadTellsTheUserToGoOnWithBL)
{
    UnitViewBench bench("bootloader");
    std::string error;
    ASSERT_TRUE(sim::writeTestFirmware(bench.app.config.firmwareFolder + "/RAVO.enc", 0x4926, 8, 256, error)) << error;
    bench.frame->tree().selectPath({"Dive log"});
    bench.frame->tree().selectPath({"Ravo unit"});
    // "Cancel" as the first chunk goes out: the bootloader has answered none yet,
    // but the unit was known to wait there only if it answered; so let one chunk through.
    bench.events->onLine = [&](const std::string& line) {
        if (line.rfind("Download firmware 2", 0) == 0)
            bench.app.worker->requestStop();
    };
    static_cast<QLineEdit*>(bench.control("Unit number"))->setText("BL");
    click(bench.control("FW Download"));
    bench.finishJob();
    EXPECT_EQ(bench.app.worker->lastOutcome().code(), -2);
    QString result = textOf(bench.control("Result"));
    EXPECT_NE(result.indexOf("Download stopped. The unit waits in its bootloader: type BL in the unit number box"), -1)
        << result.toStdString();
}

TEST(UnitView, ProgressBarFollowsTheDownloadAndFixFFFFShowsForALostNumber)
{
    UnitViewBench bench("lost-number", "FFFF");
    std::string error;
    ASSERT_TRUE(sim::writeTestFirmware(bench.app.config.firmwareFolder + "/RAVO.enc", 0x4926, 8, 256, error)) << error;
    bench.frame->tree().selectPath({"Dive log"});
    bench.frame->tree().selectPath({"Ravo unit"});
    auto* bar = static_cast<QProgressBar*>(bench.control("Progress"));
    EXPECT_FALSE(bar->isVisible());
    // The Settings group stays where it is while the bar comes and goes.
    QGroupBox* settings = nullptr;
    for (QGroupBox* group : bench.view->findChildren<QGroupBox*>())
        if (group->title() == "Settings")
            settings = group;
    ASSERT_TRUE(settings);
    auto settingsTop = [&] {
        bench.view->layout()->activate();
        return settings->geometry().top();
    };
    const int top = settingsTop();
    std::vector<int> tops;
    std::vector<int> shown;
    bench.events->holdStatusLines();
    static_cast<QLineEdit*>(bench.control("Unit number"))->setText("BL");
    click(bench.control("FW Download"));
    ASSERT_TRUE(waitForHold(bench));
    EXPECT_FALSE(bar->isVisible()) << "nothing shown before the first chunk";
    bench.events->release();
    QObject::connect(&bench.frame->frameSignals(), &desktop::FrameSignals::jobChanged, bar,
                     [&] {
                         shown.push_back(bar->isVisible() ? bar->value() : -1);
                         tops.push_back(settingsTop());
                     });
    bench.finishJob();
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [](int value) { return value > 0; }))
        << "shown with the chunks' percent during the download";
    EXPECT_FALSE(bar->isVisible()) << "hidden once the job ended";
    EXPECT_TRUE(std::all_of(tops.begin(), tops.end(), [&](int y) { return y == top; }));
    EXPECT_EQ(settingsTop(), top);

    EXPECT_FALSE(bench.control("Fix FFFF")->isVisible());
    bench.readInfo();
    ASSERT_TRUE(bench.control("Fix FFFF")->isVisible());
    click(bench.control("Fix FFFF"));
    EXPECT_EQ(bench.status(), "Try to fix lost serial number");
    bench.finishJob();
    EXPECT_EQ(bench.ended.back(), JobKind::FixSerial);
}

TEST(UnitView, PowerDownSwitchesTheUnitOffAndClosesTheLink)
{
    UnitViewBench bench;
    bench.readInfo();
    ASSERT_TRUE(bench.control("PowerDown")->isEnabled());
    click(bench.control("PowerDown"));
    bench.finishJob();
    EXPECT_FALSE(bench.app.worker->linkOpen());
    EXPECT_FALSE(bench.app.worker->keepLinkOpen());
    EXPECT_FALSE(bench.control("PowerDown")->isEnabled());
    EXPECT_EQ(bench.unit->mode(), sim::SimUnit::Mode::Off);
}

TEST(UnitView, AUnitClockFarFromThePcsIsShownInTheWarningColour)
{
    UnitViewBench bench;
    bench.readInfo();
    // The simulated unit's clock starts days before the PC's.
    QTreeWidgetItem* rtc = bench.row("RTC time (UTC)");
    ASSERT_TRUE(rtc);
    EXPECT_EQ(rtc->background(1).color(), desktop::settingsWarningColour());
    EXPECT_NE(rtc->toolTip(1).indexOf("behind the PC's UTC time"), -1) << rtc->toolTip(1).toStdString();
    EXPECT_NE(bench.row("HUD brightness")->background(1).color(), desktop::settingsWarningColour());

    onNextModal([](QWidget* dialog) { clickButton(dialog, "Set to NOW"); });
    bench.doubleClickRow("RTC time (UTC)");
    bench.finishJob();
    rtc = bench.row("RTC time (UTC)");
    EXPECT_NE(rtc->background(1).color(), desktop::settingsWarningColour());
    EXPECT_EQ(rtc->toolTip(1).indexOf("behind"), -1) << "the row's own tooltip again";
}

}  // namespace
}  // namespace ravo::test
