// The unit view inside the real main window, against the simulated unit.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "desktop/unit/settings_list_ctrl.h"
#include "desktop/views/view_unit.h"
#include "desktop_shell/shell_fixture.h"
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

TEST_F(UnitViewInFrame, ReadInfoShowsTheUnitAndAddsItToTheTree)
{
    startApp("sim:fw4925");
    openFrame(fastPoll());
    readInfo("1234");
    EXPECT_EQ(named<QLabel>("Voltage")->text(), "3.950");
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
        typeInto(dialog, "Edit HUD brightness", "60");
        clickButton(dialog, "OK");
    });
    doubleClickRow("HUD brightness");
    EXPECT_TRUE(waitFor([&] { return !jobRunning() && rowValue("HUD brightness") == "50"; }));
    std::string error;
    EXPECT_EQ(sim::simUnitFor("fw4925", error)->state().settings.hudBrightness, 2);
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
    ScaledClock fast(20.0);
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
