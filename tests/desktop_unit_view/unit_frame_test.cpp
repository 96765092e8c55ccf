// The unit view inside the real main window, against the simulated unit.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenuBar>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "app/window_layout.h"
#include "desktop/unit/settings_list_ctrl.h"
#include "desktop/views/view_unit.h"
#include "desktop_shell/shell_fixture.h"
#include "link/clock.h"
#include "sim/sim_transport.h"
#include "unit_view_bench.h"

namespace ravo::test {
namespace {

class UnitViewInFrame : public ShellTest {
protected:
    static FramePeriods fastPoll() { return FramePeriods{}; }

    void SetUp() override { sim::forgetSimUnits(); }
    void TearDown() override
    {
        frame.reset();
        sim::forgetSimUnits();
    }

    void readInfo(const QString& unitText)
    {
        ASSERT_TRUE(clickNode({"Ravo unit"}));
        auto* box = named<QLineEdit>("Unit number");
        ASSERT_TRUE(box);
        box->setText(unitText);
        QTest::mouseClick(named<QPushButton>("Read Info"), Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] { return !jobRunning() && named<QLabel>("Voltage")->text() != "--"; }));
    }

    desktop::CSettingsListCtrl* list() const
    {
        return static_cast<desktop::CViewUnit*>(frame->view(VIEW_UNIT))->settingsList();
    }

    QString rowValue(const QString& name) const
    {
        auto items = list()->findItems(name, Qt::MatchExactly, 0);
        return items.isEmpty() ? QString() : items.first()->text(1);
    }

    void doubleClickRow(const QString& name)
    {
        auto items = list()->findItems(name, Qt::MatchExactly, 0);
        ASSERT_FALSE(items.isEmpty());
        list()->scrollToItem(items.first());
        QPoint at = list()->visualItemRect(items.first()).center();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }
};

// The window as it first opens on a 1280 by 800 screen shows a unit's set-up
// without scrolling: at least 20 settings rows under their group headers,
// each with its unit and range at hand.
TEST_F(UnitViewInFrame, TheFirstWindowOnA1280By800ScreenShowsTwentySettingsRows)
{
    startApp("sim:fw4925");
    openFrame(fastPoll());
    const WindowSize size = defaultWindowSize(1280, 800);
    frame->resize(size.width, size.height);
    readInfo("1234");
    QApplication::processEvents();
    const QRect viewport = list()->viewport()->rect();
    int rowsShown = 0;
    QStringList headers;
    for (int i = 0; i < list()->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list()->topLevelItem(i);
        if (!viewport.contains(list()->visualItemRect(item)))
            continue;
        if (desktop::CSettingsListCtrl::isGroupHeader(item))
            headers << item->text(0);
        else
            ++rowsShown;
    }
    EXPECT_GE(rowsShown, 20) << "window " << size.width << "x" << size.height << ", list " << viewport.height();
    EXPECT_EQ(headers.value(0), "Set-up: setpoints");
    auto depth = list()->findItems("Setpoint depth", Qt::MatchExactly, 0);
    ASSERT_FALSE(depth.isEmpty());
    EXPECT_TRUE(depth.first()->toolTip(1).startsWith("Unit: bar\nRange: ")) << depth.first()->toolTip(1).toStdString();
}

// Edit > Copy puts the selected settings rows on the clipboard as
// tab-separated lines; the group headers are not rows.
TEST_F(UnitViewInFrame, CopyPutsTheSelectedSettingsRowsOnTheClipboard)
{
    startApp("sim:fw4925");
    openFrame(fastPoll());
    readInfo("1234");
    list()->setFocus();
    list()->selectAll();
    QAction* copy = nullptr;
    for (QAction* top : frame->menuBar()->actions())
        if (top->text() == "&Edit")
            for (QAction* action : top->menu()->actions())
                copy = action->text() == "&Copy" ? action : copy;
    ASSERT_TRUE(copy);
    copy->trigger();
    const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 33);
    EXPECT_EQ(lines.value(0), "Setpoint surface\t" + rowValue("Setpoint surface"));
    EXPECT_TRUE(lines.contains("HUD brightness\t75"));
}

TEST_F(UnitViewInFrame, ReadInfoShowsTheUnitAndAddsItToTheTree)
{
    startApp("sim:fw4925");
    openFrame(fastPoll());
    readInfo("1234");
    EXPECT_EQ(named<QLabel>("Voltage")->text(), "3.950 V");
    EXPECT_EQ(named<QLabel>("Software")->text(), "ver 49b25");
    EXPECT_EQ(rowValue("HUD brightness"), "75");
    EXPECT_TRUE(clickNode({"Ravo unit", "1234"}));
    EXPECT_EQ(named<QLineEdit>("Unit number")->text(), "1234");
}

// The link idle time passes while the editor is open: the edit connects again
// for the write, and the list then shows what the unit holds.
TEST_F(UnitViewInFrame, AnEditOutlivingTheLinkIdleTimeStillReachesTheUnit)
{
    startApp("sim:fw4925");
    FramePeriods periods = fastPoll();
    periods.linkIdleMs = 100;
    openFrame(periods);
    readInfo("1234");
    // The idle time runs out while the editor is open.
    onNextModal([&](QWidget* dialog) {
        ASSERT_TRUE(waitFor([&] { return !app->worker->linkOpen(); }, 2000));
        typeInto(dialog, "Edit HUD brightness", "50");
        clickButton(dialog, "OK");
    });
    doubleClickRow("HUD brightness");
    EXPECT_TRUE(waitFor([&] { return !jobRunning() && rowValue("HUD brightness") == "50"; }));
    std::string error;
    EXPECT_EQ(sim::simUnitFor("fw4925", error)->state().settings.hudBrightness, 2);
}

// The read's findings stand over the view, one line each in the colour of
// their severity, and every value is read out with its caption.
TEST_F(UnitViewInFrame, AFailedPreDiveTestStandsAtTheTopInRedAndValuesAreNamed)
{
    startApp("sim:fw4925");
    openFrame(fastPoll());
    ASSERT_TRUE(clickNode({"Ravo unit"}));
    EXPECT_TRUE(named<QLabel>("Voltage not read"));
    EXPECT_FALSE(named("Warnings")) << "nothing to say before a read";
    readInfo("1234");

    QLabel* voltage = named<QLabel>("Voltage 3.950 V");
    ASSERT_TRUE(voltage);
    EXPECT_EQ(voltage->text(), "3.950 V");
    EXPECT_TRUE(named<QLabel>("Software ver 49b25"));
    EXPECT_TRUE(named<QLabel>("HUD ver 12  (HW 3)"));
    QLabel* result = named<QLabel>("Result");
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->accessibleName().startsWith("Result " + result->text().split("\n").first()))
        << result->accessibleName().toStdString();

    const QString failed = "Danger: Pre dive test failed: test number 7, error 3. Do not dive: put the fault "
                           "right and run the test again.";
    QLabel* line = named<QLabel>(failed);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->text(), failed);
    QWidget* view = frame->view(VIEW_UNIT);
    QWidget* banner = named("Warnings");
    ASSERT_TRUE(banner);
    EXPECT_LT(banner->mapTo(view, QPoint(0, 0)).y(), voltage->mapTo(view, QPoint(0, 0)).y());
    EXPECT_EQ(banner->layout()->itemAt(0)->widget(), line) << "the most urgent finding first";
    const QColor back = line->grab().toImage().pixelColor(2, 2);
    EXPECT_GT(back.red(), 150);
    EXPECT_LT(back.green(), 90);
}

TEST_F(UnitViewInFrame, ADeadCellAndALowBatteryEachSaySo)
{
    const std::pair<std::string, QString> cases[] = {
        {"dead-cell", "Danger: O2 cell 2 does not answer. Do not dive: check the cell and its cable, or replace "
                      "the cell."},
        {"low-battery", "Danger: Battery low: 3.499 V, below 3.500 V. Charge the battery before the next dive."},
    };
    for (const auto& [preset, text] : cases) {
        frame.reset();
        sim::forgetSimUnits();
        startApp("sim:" + preset);
        ScaledClock fast(40.0);
        app->worker->setClock(&fast);
        openFrame(fastPoll());
        readInfo("1234");
        EXPECT_TRUE(named<QLabel>(text)) << preset;
        frame.reset();
        app->worker->setClock(nullptr);
    }
}

}  // namespace
}  // namespace ravo::test

#ifdef RAVO_SIM_PATH
#include <algorithm>
#include <nlohmann/json.hpp>

#include "link/clock.h"

#include "support/sim_process.h"

namespace ravo::test {
namespace {

// The whole round against ravo-unit-sim in its own process over TCP: save,
// change two rows by hand, restore: the unit holds what was saved.
TEST_F(UnitViewInFrame, ARestoreOverTcpPutsTheChangedRowsBack)
{
    SimProcess unit(RAVO_SIM_PATH, {"--port", "0", "--preset", "fw4925"});
    const std::string address = unit.readLine();
    ASSERT_EQ(address.rfind("tcp:127.0.0.1:", 0), 0u) << address;
    auto settings = [&] {
        unit.writeLine("dump");
        return nlohmann::json::parse(unit.readUntil("\n}\n"), nullptr, false)["settings"];
    };
    startApp(address);
    PatientClock fast(20.0);  // pauses fast, the answers waited for in real time
    app->worker->setClock(&fast);
    openFrame(fastPoll());
    readInfo("1234");
    auto* view = static_cast<desktop::CViewUnit*>(frame->view(VIEW_UNIT));
    const QString file = QString::fromStdString(dir.file("unit1234.ini"));
    view->chooseSettingsFile = [&](bool) { return file; };
    QTest::mouseClick(named<QPushButton>("Save settings..."), Qt::LeftButton);
    nlohmann::json saved = settings();

    auto edit = [&](const QString& row, const QString& label, const QString& value) {
        onNextModal([=](QWidget* dialog) {
            typeInto(dialog, label, value);
            clickButton(dialog, "OK");
        });
        doubleClickRow(row);
        ASSERT_TRUE(waitFor([&] { return !jobRunning() && rowValue(row) == value; }));
    };
    edit("HUD brightness", "Edit HUD brightness", "25");
    edit("Oxygen part (%)", "Edit Oxygen part", "94");
    EXPECT_EQ(settings()["hudBrightness"], 1);

    std::vector<QString> rows;
    onNextModal([&](QWidget* dialog) {
        auto* table = dialog->findChild<QTreeWidget*>();
        for (int i = 0; i < table->topLevelItemCount(); ++i)
            rows.push_back(table->topLevelItem(i)->text(0));
        clickButton(dialog, "Restore");
    });
    QTest::mouseClick(named<QPushButton>("Restore settings..."), Qt::LeftButton);
    // The unit's clock runs on and is shown, never restored.
    rows.erase(std::remove(rows.begin(), rows.end(), QString("RTC time (UTC)")), rows.end());
    EXPECT_EQ(rows, (std::vector<QString>{"HUD brightness", "Oxygen part (%)"}));
    // The writes run as a job, the read it asks for after them.
    ASSERT_TRUE(waitFor([&] { return !jobRunning() && rowValue("HUD brightness") == "75"; }));
    nlohmann::json after = settings();
    saved.erase("timeToFly");
    after.erase("timeToFly");
    EXPECT_EQ(after, saved);
    frame.reset();
    app->worker->setClock(nullptr);
}

}  // namespace
}  // namespace ravo::test
#endif
