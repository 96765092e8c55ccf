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
        QTest::qWait(300);  // the window's poll refreshes the view
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
    openFrame();
    readInfo("1234");
    EXPECT_EQ(named<QLabel>("Voltage")->text(), "3.950");
    EXPECT_EQ(named<QLabel>("Software")->text(), "ver 49b25");
    EXPECT_EQ(rowValue("HUD brightness"), "75");
    EXPECT_TRUE(clickNode({"Ravo unit", "1234"}));
    EXPECT_EQ(named<QLineEdit>("Unit number")->text(), "1234");
}

// The link idle time passes while the editor is open: the link stays open
// for the write, and the list then shows what the unit holds.
TEST_F(UnitViewInFrame, AnEditOutlivingTheLinkIdleTimeStillReachesTheUnit)
{
    startApp("sim:fw4925");
    FramePeriods periods;
    periods.linkIdleMs = 100;
    openFrame(periods);
    readInfo("1234");
    // A status line starts the idle time afresh; it runs out while the editor is open.
    frame->receiver().sendMessage(UM_STATUS_TEXT, 0, reinterpret_cast<intptr_t>("Select a unit"));
    onNextModal([&](QWidget* dialog) {
        QTest::qWait(200);
        typeInto(dialog, "Edit HUD brightness", "60");
        clickButton(dialog, "OK");
    });
    doubleClickRow("HUD brightness");
    std::string error;
    EXPECT_EQ(sim::simUnitFor("fw4925", error)->state().settings.hudBrightness, 2);
    EXPECT_TRUE(waitFor([&] { return !jobRunning() && rowValue("HUD brightness") == "50"; }));
}

}  // namespace
}  // namespace ravo::test
