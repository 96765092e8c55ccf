// The unit log list views: rows from the frame's directories, the download
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
        fixture.state.dives.entries = {entry(0, 0, 1500), entry(1, 100, 7, false), entry(2, 4000, 30)};
        dives.resize(600, 400);
        dives.show();
        fixture.directoryChanged();
    }
    FrameState& state() { return fixture.state; }
    // A job of `kind` starts (running) or ends, as the frame announces it.
    void job(JobKind kind, bool running)
    {
        state().job = JobStatus{running, running ? kind : JobKind::None, {}, false};
        fixture.jobChanged();
    }
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
    EXPECT_EQ(redboxes.list()->rowCount(), 0);
    EXPECT_EQ(redboxes.list()->model()->headerData(1, Qt::Horizontal).toString(), "Size");
    state().redbox.entries = {entry(0, 5000, 3)};
    fixture.directoryChanged();
    EXPECT_EQ(redboxes.list()->rowCount(), 1) << "a view not shown follows too";
}

TEST_F(UnitLogViews, DoubleClickRequestsTheRowsLogAndNothingBelowTheRowsOrDuringAJob)
{
    CUnitLogListCtrl* list = diveList();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 1));
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(requests()[0].kind, LogKind::Dive);
    EXPECT_EQ(requests()[0].entries.size(), 1u);
    EXPECT_EQ(requests()[0].entries.at(0).index, 2);

    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(20, list->viewport()->height() - 5));
    EXPECT_EQ(requests().size(), 1u);

    job(JobKind::ReadInfo, true);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 0));
    job(JobKind::ReadInfo, false);
    EXPECT_EQ(requests().size(), 1u);
}

TEST_F(UnitLogViews, EnterAndDownloadSelectedRequestTheSelectedRowsInOrder)
{
    CUnitLogListCtrl* list = diveList();
    list->setFocus();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 0));
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(requests()[0].kind, LogKind::Dive);
    EXPECT_EQ(requests()[0].entries.at(0).index, 0);

    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(list, 1));
    QTest::keyClick(list, Qt::Key_Enter);
    ASSERT_EQ(requests().size(), 2u);
    ASSERT_EQ(requests()[1].entries.size(), 2u);
    EXPECT_EQ(requests()[1].entries[0].index, 0);
    EXPECT_EQ(requests()[1].entries[1].index, 2);

    QTest::mouseClick(byName<QPushButton>(dives, "Download selected"), Qt::LeftButton);
    ASSERT_EQ(requests().size(), 3u);
    EXPECT_EQ(requests()[2].entries.size(), 2u);

    // The redbox list takes one row at a time and asks for a redbox log.
    CUnitLogListCtrl* boxes = redboxes.list();
    EXPECT_EQ(boxes->selectionMode(), QAbstractItemView::SingleSelection);
    state().redbox.entries = {entry(0, 5000, 3), entry(1, 6000, 4)};
    redboxes.resize(600, 400);
    redboxes.show();
    fixture.directoryChanged();
    QTest::mouseClick(boxes->viewport(), Qt::LeftButton, {}, rowCentre(boxes, 0));
    QTest::mouseClick(boxes->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(boxes, 1));
    QTest::keyClick(boxes, Qt::Key_Return);
    ASSERT_EQ(requests().size(), 4u);
    EXPECT_EQ(requests()[3].kind, LogKind::Redbox);
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

    job(JobKind::DiveLogs, true);
    EXPECT_FALSE(bar->isVisible()) << "no bar before the download says how far it is";
    EXPECT_TRUE(cancel->isEnabled());
    state().job.progress = {ProgressKind::LogRecords, 300, 1530, 19};
    fixture.jobChanged();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 1530);
    EXPECT_EQ(bar->value(), 300);
    EXPECT_EQ(bar->text(), "300 of 1530 records");
    EXPECT_TRUE(cancel->isEnabled());
    EXPECT_FALSE(selected->isEnabled());
    // The list keeps its rows during a log download.
    EXPECT_EQ(diveList()->rowCount(), 2);

    // The redbox view shows no progress of a dive download.
    EXPECT_FALSE(byName<QProgressBar>(redboxes, "Download progress")->isVisibleTo(&redboxes));
    EXPECT_FALSE(byName<QPushButton>(redboxes, "Cancel")->isEnabled());

    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_EQ(fixture.frame.stops, 1);

    job(JobKind::DiveLogs, false);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(cancel->isEnabled());
    EXPECT_TRUE(selected->isEnabled());
}

TEST_F(UnitLogViews, TheListIsEmptyWhileItsDirectoryIsRead)
{
    job(JobKind::DiveDirectory, true);
    EXPECT_EQ(diveList()->rowCount(), 0);
    job(JobKind::DiveDirectory, false);
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

    saveDive(fixture.diveFolder(), state().dives.entries[0], 10);  // 10 of 1500: cut short
    saveDive(fixture.diveFolder(), state().dives.entries[2], 30);
    fixture.directoryChanged();
    EXPECT_EQ(model->index(0, 2).data().toString(), "incomplete");
    EXPECT_EQ(model->index(1, 2).data().toString(), "saved");

    QTest::mouseClick(byName<QPushButton>(dives, "Download new"), Qt::LeftButton);
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(requests()[0].kind, LogKind::Dive);
    EXPECT_EQ(requests()[0].entries.at(0).index, 0);

    saveDive(fixture.diveFolder(), state().dives.entries[0], 1500);
    QTest::mouseClick(byName<QPushButton>(dives, "Download new"), Qt::LeftButton);
    EXPECT_EQ(requests().size(), 1u);
    EXPECT_EQ(byName<QLabel>(dives, "Download note")->text(), "Every dive is saved");
}

TEST_F(UnitLogViews, AStoppedDownloadIsReportedWhenTheWorkerIsIdle)
{
    state().diveDownloadNote = "The last download ended early: its dive is marked incomplete";
    job(JobKind::DiveLogs, false);
    EXPECT_EQ(byName<QLabel>(dives, "Download note")->text(),
              "The last download ended early: its dive is marked incomplete");
}

}  // namespace
}  // namespace ravo::test
