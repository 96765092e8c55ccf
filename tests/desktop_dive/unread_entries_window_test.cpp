// The unit's dive list through the main window against a scenario of the
// simulated unit: a lost entry request is asked again on a flaky link,
// and an entry that never answers is a row that says so; "Download new"
// saves the others and names it, and never says every dive is saved.
#include <QLabel>
#include <QPushButton>

#include "desktop/controls/unit_log_list_ctrl.h"
#include "desktop/views/view_unit_dive.h"
#include "link/clock.h"
#include "sim/sim_transport.h"
#include "tests/desktop_shell/shell_fixture.h"

namespace ravo::test {
namespace {

class UnreadEntriesWindow : public ShellTest {
protected:
    void TearDown() override
    {
        frame.reset();
        if (app) {
            app->worker->closeLink();
            app->worker->setClock(nullptr);
        }
        sim::forgetSimUnits();
        sim::setSimClock(nullptr);
    }

    // The window on the simulated unit of `scenario`; the unit's dive list
    // shown once its directory is read. The unit answers in the worker's
    // thread and both run in virtual time: the replies lost on purpose take
    // no real time, and a busy machine cannot make an answered one expire.
    desktop::CViewUnitDive* diveList(const std::string& scenario)
    {
        sim::forgetSimUnits();
        sim::setSimClock(&clock);
        startApp("sim:" + scenario);
        app->worker->setClock(&clock);
        openFrame();
        app->config.setUnitNumberText("1234");
        frame->requests().requestReadInfo();
        if (!waitFor([&] { return !jobRunning() && frame->tree().findChild("Ravo unit", "1234"); }, 20000))
            return nullptr;
        if (!clickNode({"Ravo unit", "1234", "Dive log"}))
            return nullptr;
        auto* view = dynamic_cast<desktop::CViewUnitDive*>(frame->view(VIEW_UNIT_DIVE));
        if (view && !waitFor([&] { return !jobRunning() && view->list()->rowCount() > 0; }, 20000))
            return nullptr;
        return view;
    }
    QString note() { return named<QLabel>("Download note")->text(); }

    ManualClock clock;
};

TEST_F(UnreadEntriesWindow, AnEntryThatNeverAnswersIsARowAndDownloadNewNamesIt)
{
    writeFile(dir.file("unit.json"), R"({"preset": "no-logs",
        "diveLogs": [{"generate": "dive", "records": 40, "seed": 1, "startTime": 849200000},
                     {"generate": "dive", "records": 60, "seed": 2, "startTime": 849300000},
                     {"generate": "dive", "records": 30, "seed": 3, "startTime": 849400000}],
        "faults": {"ignoreEntryIndexes": [1]}})");
    desktop::CViewUnitDive* view = diveList(dir.file("unit.json"));
    ASSERT_NE(view, nullptr);
    desktop::CUnitLogListCtrl* list = view->list();
    ASSERT_EQ(list->rowCount(), 3);
    EXPECT_EQ(list->model()->index(1, 0).data().toString(), "could not be read");
    EXPECT_EQ(list->model()->index(2, 1).data().toString(), "30");
    EXPECT_EQ(status(), "Read divelog info ... incomplete: 1 of 3 entries not read");
    EXPECT_EQ(note(), "Dive entry 1 could not be read from the unit");

    QTest::mouseClick(named<QPushButton>("Download new"), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return !jobRunning() && app->savedDiveNames.size() == 2; }, 30000));
    EXPECT_EQ(list->model()->index(0, 2).data().toString(), "saved");
    EXPECT_EQ(list->model()->index(1, 2).data().toString(), "");
    EXPECT_EQ(list->model()->index(2, 2).data().toString(), "saved");
    EXPECT_EQ(note(), "Dive entry 1 could not be read from the unit");

    QTest::mouseClick(named<QPushButton>("Download new"), Qt::LeftButton);
    EXPECT_FALSE(jobRunning());
    EXPECT_EQ(note(), "Every dive listed is saved; Dive entry 1 could not be read from the unit");
}

TEST_F(UnreadEntriesWindow, AFlakyLinkListsEveryDive)
{
    desktop::CViewUnitDive* view = diveList(std::string(RAVO_SOURCE_DIR) + "/sim/scenarios/flaky-link.json");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->list()->rowCount(), 4);
    for (int row = 0; row < 4; ++row)
        EXPECT_NE(view->list()->model()->index(row, 0).data().toString(), "could not be read") << row;
    EXPECT_EQ(status(), "Read divelog info ... done");
}

}  // namespace
}  // namespace ravo::test
