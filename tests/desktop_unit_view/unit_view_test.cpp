#include <QAbstractButton>
#include <QComboBox>
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
        EXPECT_EQ(textOf(bench.control("Voltage")), "3.950") << f.preset;
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
    std::string dialogText;
    onNextModal([&](QWidget* dialog) {
        dialogText = dialog->windowTitle().toStdString() + "\n" + labelTexts(dialog);
        typeInto(dialog, "Edit HUD brightness", "60");
        clickButton(dialog, "OK");
    });
    bench.doubleClickRow("HUD brightness");
    EXPECT_EQ(dialogText, "Edit value\nEdit HUD brightness\n0..100  step 25\n");
    EXPECT_EQ(bench.unit->state().settings.hudBrightness, 2);
    ASSERT_EQ(bench.frame->requests.back(), unsigned(UM_REQ_REREAD_INFO));
    bench.finishJob();
    EXPECT_EQ(bench.row("HUD brightness")->text(1), "50");
}

TEST(UnitView, TheWindowRepaintsAndTakesNoInputWhileAnEditTalksToTheUnit)
{
    UnitViewBench bench;
    bench.readInfo();
    // From here the unit answers at the pace of a slow link, in real time.
    bench.unit->update([](sim::SimState& s) { s.timing = sim::SimTiming{true, 2400, 20}; });
    ScaledClock linkTime(4.0);
    bench.app.worker->link.setClock(&linkTime);
    int ticks = 0;
    bool inputTaken = false;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        ++ticks;
        inputTaken = inputTaken || bench.view->isEnabled();
    });
    onNextModal([&](QWidget* dialog) {
        typeInto(dialog, "Edit HUD brightness", "25");
        sampler.start(2);
        clickButton(dialog, "OK");
    });
    bench.doubleClickRow("HUD brightness");
    sampler.stop();
    EXPECT_EQ(bench.unit->state().settings.hudBrightness, 1);
    EXPECT_GE(ticks, 3);
    EXPECT_FALSE(inputTaken);
    EXPECT_TRUE(bench.view->isEnabled());
    bench.app.worker->link.setClock(&bench.clock);
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
    size_t before = bench.frame->requests.size();
    bench.doubleClickRow("Deco enabled");
    EXPECT_EQ(choices, (std::vector<QString>{"Yes*", "No"}));
    EXPECT_EQ(bench.frame->requests.size(), before);

    onNextModal([&](QWidget* dialog) {
        clickButton(dialog, "No");
        clickButton(dialog, "OK");
    });
    bench.doubleClickRow("Deco enabled");
    EXPECT_EQ(bench.unit->state().settings.decoEnabled, 0);
    bench.finishJob();
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
    bench.view->resize(900, 1600);
    QApplication::processEvents();
    QPoint below(20, list->viewport()->height() - 3);
    ASSERT_EQ(list->itemAt(below), nullptr);
    size_t before = bench.frame->requests.size();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, below);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, below);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(bench.frame->requests.size(), before);
}

TEST(UnitView, WhileAJobRunsOnlyCancelTakesInputAndCancelStopsIt)
{
    UnitViewBench bench;
    bench.frame->workerMessages.holdStatusLines();
    click(bench.control("Read Info"));
    ASSERT_TRUE(bench.frame->workerMessages.waitHeld());
    bench.view->onMessage(UM_REFRESH_VIEW, 0, 0);
    EXPECT_FALSE(bench.control("Read Info")->isEnabled());
    EXPECT_FALSE(bench.control("Unit number")->isEnabled());
    EXPECT_FALSE(bench.control("FW Download")->isEnabled());
    EXPECT_FALSE(bench.control("PowerDown")->isEnabled());
    EXPECT_TRUE(bench.control("Cancel")->isEnabled());
    click(bench.control("Cancel"));
    EXPECT_TRUE(bench.app.worker->stopRequested);
    bench.frame->workerMessages.release();
    bench.finishJob();
    EXPECT_TRUE(bench.control("Read Info")->isEnabled());
    EXPECT_FALSE(bench.control("Cancel")->isEnabled());
    EXPECT_TRUE(bench.control("PowerDown")->isEnabled());
    EXPECT_TRUE(bench.frame->workerMessages.hasLine("User stopped...."));
}

TEST(UnitView, BootloaderAndForcedDownloadsKeepTheBoxOnTheUnitNumber)
{
    UnitViewBench bench;
    writeFile(bench.app.config.firmwareFolder + "/A.enc", "0001AA\n");
    writeFile(bench.app.config.firmwareFolder + "/B.enc", "0001AA\n");
    bench.view->onMessage(UM_REFRESH_VIEW, 0, 0);
    auto* list = static_cast<QComboBox*>(bench.control("Firmware"));
    EXPECT_EQ(list->currentText(), "B.enc");
    list->setCurrentIndex(0);
    bench.view->onMessage(UM_REFRESH_VIEW, 0, 0);
    EXPECT_EQ(list->currentText(), "A.enc");

    auto* box = static_cast<QLineEdit*>(bench.control("Unit number"));
    box->setText("bl");
    click(bench.control("FW Download"));
    EXPECT_EQ(bench.frame->firmwareJob, JOB_FIRMWARE_BL);
    EXPECT_EQ(bench.frame->firmwareUnit, 0x1234);
    EXPECT_EQ(bench.frame->firmwarePath, bench.app.config.firmwareFolder + "/A.enc");
    EXPECT_EQ(box->text(), "1234");

    box->setText(" 12* ");
    click(bench.control("FW Download"));
    EXPECT_EQ(bench.frame->firmwareJob, JOB_FIRMWARE_FORCE);
    EXPECT_EQ(bench.frame->firmwareUnit, 0x0012);
    EXPECT_EQ(box->text(), "0012");

    // A file gone since the list was filled: no request, the status line says so.
    std::remove((bench.app.config.firmwareFolder + "/A.enc").c_str());
    bench.frame->firmwareJob = 0;
    click(bench.control("FW Download"));
    EXPECT_EQ(bench.frame->firmwareJob, 0);
    EXPECT_EQ(bench.frame->statusTexts.back(), "File [A.enc] not found");
}

TEST(UnitView, AStoppedDownloadTellsTheUserToGoOnWithBL)
{
    UnitViewBench bench("bootloader");
    std::string error;
    ASSERT_TRUE(sim::writeTestFirmware(bench.app.config.firmwareFolder + "/RAVO.enc", 0x4926, 8, 256, error)) << error;
    bench.view->onMessage(UM_REFRESH_VIEW, 0, 0);
    bench.frame->startFirmware = true;
    bench.frame->cancelAtFirstProgress = true;
    static_cast<QLineEdit*>(bench.control("Unit number"))->setText("BL");
    click(bench.control("FW Download"));
    bench.finishJob();
    EXPECT_EQ(bench.app.worker->jobResult, -2);
    QString result = textOf(bench.control("Result"));
    EXPECT_NE(result.indexOf("Download stopped. The unit waits in its bootloader: type BL in the unit number box"), -1)
        << result.toStdString();
}

TEST(UnitView, ProgressBarFollowsTheDownloadAndFixFFFFShowsForALostNumber)
{
    UnitViewBench bench("lost-number", "FFFF");
    auto* bar = static_cast<QProgressBar*>(bench.control("Progress"));
    EXPECT_FALSE(bar->isVisible());
    bench.view->onMessage(UM_PROGRESS, 40, 0);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->value(), 40);
    bench.view->onMessage(UM_PROGRESS, 0, 0);
    EXPECT_FALSE(bar->isVisible());
    bench.view->onMessage(UM_PROGRESS, 5, 0);
    EXPECT_TRUE(bar->isVisible());
    const char* text = "Chunk 3 of 12";
    bench.view->onMessage(UM_FIRMWARE_TEXT, 0, reinterpret_cast<intptr_t>(text));
    EXPECT_EQ(textOf(bench.control("Firmware text")), "Chunk 3 of 12");

    EXPECT_FALSE(bench.control("Fix FFFF")->isVisible());
    bench.readInfo();
    ASSERT_TRUE(bench.control("Fix FFFF")->isVisible());
    click(bench.control("Fix FFFF"));
    EXPECT_EQ(bench.frame->requests.back(), unsigned(UM_REQ_FIX_SERIAL));
}

TEST(UnitView, PowerDownSwitchesTheUnitOffAndClosesTheLink)
{
    UnitViewBench bench;
    bench.readInfo();
    ASSERT_TRUE(bench.control("PowerDown")->isEnabled());
    click(bench.control("PowerDown"));
    EXPECT_FALSE(bench.app.worker->link.IsConnected());
    EXPECT_FALSE(bench.app.worker->keepLinkOpen);
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
    EXPECT_TRUE(rtc->toolTip(1).isEmpty());
}

}  // namespace
}  // namespace ravo::test
