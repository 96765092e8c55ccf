// The unit log list views: rows from the worker's directories, the download
// requests of a double-click, Enter and the buttons, and the progress shown
// while a log downloads.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "app/ravo_config_app.h"
#include "desktop/controls/unit_log_list_ctrl.h"
#include "desktop/views/view_unit_dive.h"
#include "desktop/views/view_unit_redbox.h"
#include "view_fixture.h"

namespace ravo::test {
namespace {

using desktop::CUnitLogListCtrl;
using desktop::CViewUnitDive;
using desktop::CViewUnitRedbox;

CDiveInfo entry(uint16_t index, uint32_t start, uint32_t records, bool valid = true)
{
    CDiveInfo e;
    e.valid = valid ? 1 : 0;
    e.unitNumber = 0x1234;
    e.index = index;
    e.startTime = start;
    e.recordCount = records;
    return e;
}

template <class T>
T* byName(QWidget& parent, const QString& name)
{
    for (T* w : parent.findChildren<T*>())
        if (w->accessibleName() == name)
            return w;
    return nullptr;
}

QPoint rowCentre(CUnitLogListCtrl* list, int row)
{
    return list->visualRect(list->model()->index(row, 0)).center();
}

class UnitLogViews : public ::testing::Test {
protected:
    UnitLogViews() : dives(fixture.context()), redboxes(fixture.context())
    {
        worker().diveDirectory = {entry(0, 0, 1500), entry(1, 100, 7, false), entry(2, 4000, 30)};
        dives.resize(600, 400);
        dives.show();
        dives.onMessage(UM_TREE_UNIT, 0, 0);
    }
    WorkTask& worker() { return *fixture.app.worker; }
    CUnitLogListCtrl* diveList() { return dives.list(); }
    std::vector<RequestFrame::Request>& requests() { return fixture.frame.requests; }

    ViewFixture fixture;
    CViewUnitDive dives;
    CViewUnitRedbox redboxes;
};

TEST_F(UnitLogViews, RowsSkipEntriesNotReadAndKeepTheUnitsOrder)
{
    CUnitLogListCtrl* list = diveList();
    ASSERT_EQ(list->rowCount(), 2);
    auto* model = list->model();
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "UTC");
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Size");
    EXPECT_EQ(model->index(0, 0).data().toString(), "2000-01-01 00:00:00");
    EXPECT_EQ(model->index(0, 1).data().toString(), "1500");
    EXPECT_EQ(model->index(1, 1).data().toString(), "30");
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);

    // An empty directory: no rows, the headers stay.
    redboxes.onMessage(UM_REFRESH_VIEW, 0, 0);
    EXPECT_EQ(redboxes.list()->rowCount(), 0);
    EXPECT_EQ(redboxes.list()->model()->headerData(1, Qt::Horizontal).toString(), "Size");
    worker().redboxDirectory = {entry(0, 5000, 3)};
    redboxes.onMessage(UM_TREE_UNIT, 0, 0);
    EXPECT_EQ(redboxes.list()->rowCount(), 1);
}

TEST_F(UnitLogViews, DoubleClickRequestsTheRowsLogAndNothingBelowTheRowsOrDuringAJob)
{
    CUnitLogListCtrl* list = diveList();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 1));
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(requests()[0].message, UM_REQ_READ_DIVE);
    EXPECT_EQ(requests()[0].entries.at(0).index, 2);

    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(20, list->viewport()->height() - 5));
    EXPECT_EQ(requests().size(), 1u);

    worker().busy = true;
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 0));
    worker().busy = false;
    EXPECT_EQ(requests().size(), 1u);
}

TEST_F(UnitLogViews, EnterAndDownloadSelectedRequestTheSelectedRowsInOrder)
{
    CUnitLogListCtrl* list = diveList();
    list->setFocus();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 0));
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(requests()[0].message, UM_REQ_READ_DIVE);
    EXPECT_EQ(requests()[0].entries.at(0).index, 0);

    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(list, 1));
    QTest::keyClick(list, Qt::Key_Enter);
    ASSERT_EQ(requests().size(), 2u);
    EXPECT_EQ(requests()[1].message, UM_REQ_READ_DIVES);
    ASSERT_EQ(requests()[1].entries.size(), 2u);
    EXPECT_EQ(requests()[1].entries[0].index, 0);
    EXPECT_EQ(requests()[1].entries[1].index, 2);

    QTest::mouseClick(byName<QPushButton>(dives, "Download selected"), Qt::LeftButton);
    ASSERT_EQ(requests().size(), 3u);
    EXPECT_EQ(requests()[2].entries.size(), 2u);

    // The redbox list takes one row at a time and asks for a redbox log.
    CUnitLogListCtrl* boxes = redboxes.list();
    EXPECT_EQ(boxes->selectionMode(), QAbstractItemView::SingleSelection);
    worker().redboxDirectory = {entry(0, 5000, 3), entry(1, 6000, 4)};
    redboxes.resize(600, 400);
    redboxes.show();
    redboxes.onMessage(UM_REFRESH_VIEW, 0, 0);
    QTest::mouseClick(boxes->viewport(), Qt::LeftButton, {}, rowCentre(boxes, 0));
    QTest::mouseClick(boxes->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(boxes, 1));
    QTest::keyClick(boxes, Qt::Key_Return);
    ASSERT_EQ(requests().size(), 4u);
    EXPECT_EQ(requests()[3].message, UM_REQ_READ_REDBOX);
    ASSERT_EQ(requests()[3].entries.size(), 1u);
    EXPECT_EQ(requests()[3].entries[0].index, 1);
}

TEST_F(UnitLogViews, ADownloadShowsRecordsReadAndCancelAsksTheWorkerToStop)
{
    QProgressBar* bar = byName<QProgressBar>(dives, "Download progress");
    QPushButton* cancel = byName<QPushButton>(dives, "Cancel");
    QPushButton* selected = byName<QPushButton>(dives, "Download selected");
    ASSERT_TRUE(bar && cancel && selected);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(cancel->isEnabled());

    worker().jobCode = JOB_DIVE_LOGS;
    worker().busy = true;
    worker().progressTotal = 1530;
    worker().progressRecords = 300;
    dives.onMessage(UM_PROGRESS, 19, 0);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 1530);
    EXPECT_EQ(bar->value(), 300);
    EXPECT_EQ(bar->text(), "300 of 1530 records");
    EXPECT_TRUE(cancel->isEnabled());
    EXPECT_FALSE(selected->isEnabled());
    // The list keeps its rows during a log download.
    dives.onMessage(UM_REFRESH_VIEW, 0, 0);
    EXPECT_EQ(diveList()->rowCount(), 2);

    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_TRUE(worker().stopRequested);

    worker().busy = false;
    dives.onMessage(UM_REFRESH_VIEW, 0, 0);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(cancel->isEnabled());
    EXPECT_TRUE(selected->isEnabled());
}

TEST_F(UnitLogViews, TheListIsEmptyWhileItsDirectoryIsRead)
{
    worker().jobCode = JOB_DIVE_DIRECTORY;
    worker().busy = true;
    dives.onMessage(UM_REFRESH_VIEW, 0, 0);
    EXPECT_EQ(diveList()->rowCount(), 0);
    worker().busy = false;
    dives.onMessage(UM_REFRESH_VIEW, 0, 0);
    EXPECT_EQ(diveList()->rowCount(), 2);
}

// Saves the dive of `info` with `records` samples, as a download would.
void saveDive(const std::string& folder, const CDiveInfo& info, uint32_t records)
{
    CDiveLog log;
    log.info = info;
    log.isDive = true;
    for (uint32_t i = 0; i < records; ++i)
        log.samples.push_back({uint16_t(i), KindDepth, 10});
    ASSERT_EQ(log.saveDive(folder), 0);
}

TEST_F(UnitLogViews, SavedColumnAndDownloadNewFollowTheDiveFolder)
{
    auto* model = diveList()->model();
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), "Saved");
    EXPECT_EQ(redboxes.list()->model()->columnCount(), 2);
    EXPECT_EQ(model->index(0, 2).data().toString(), "");

    saveDive(fixture.diveFolder(), worker().diveDirectory[0], 10);  // 10 of 1500: cut short
    saveDive(fixture.diveFolder(), worker().diveDirectory[2], 30);
    dives.onMessage(UM_REFRESH_VIEW, 0, 0);
    EXPECT_EQ(model->index(0, 2).data().toString(), "incomplete");
    EXPECT_EQ(model->index(1, 2).data().toString(), "saved");

    QTest::mouseClick(byName<QPushButton>(dives, "Download new"), Qt::LeftButton);
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(requests()[0].message, UM_REQ_READ_DIVE);
    EXPECT_EQ(requests()[0].entries.at(0).index, 0);

    saveDive(fixture.diveFolder(), worker().diveDirectory[0], 1500);
    QTest::mouseClick(byName<QPushButton>(dives, "Download new"), Qt::LeftButton);
    EXPECT_EQ(requests().size(), 1u);
    EXPECT_EQ(byName<QLabel>(dives, "Download note")->text(), "Every dive is saved");
}

TEST_F(UnitLogViews, AStoppedDownloadIsReportedWhenTheWorkerIsIdle)
{
    worker().jobCode = JOB_DIVE_LOGS;
    worker().jobResult = kJobLogIncomplete;
    dives.onMessage(UM_REFRESH_VIEW, 0, 0);
    EXPECT_EQ(byName<QLabel>(dives, "Download note")->text(),
              "The last download ended early: its dive is marked incomplete");
}

}  // namespace
}  // namespace ravo::test
