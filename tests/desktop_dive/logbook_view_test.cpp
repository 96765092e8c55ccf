// The logbook view over saved files: read off the window's thread, sorted by
// a header click, filtered by unit, totalled; a dive opened by double-click
// or Enter; the selection handed out. In the main window: the saved root
// shows it, a dive opens from it, the tree shows whole names.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QTableView>
#include <QTest>
#include <algorithm>

#include "desktop/models/logbook_model.h"
#include "desktop/views/view_logbook.h"
#include "firmware/file_util.h"
#include "desktop/views/view_dive.h"
#include "support/test_dives.h"
#include "tests/desktop_shell/shell_fixture.h"
#include "view_fixture.h"

namespace ravo::test {
namespace {

using desktop::CViewLogbook;

constexpr uint32_t kMay6 = 1336314153 - 946684800;  // 2012-05-06 14:22:33 UTC

// A double-click as the system delivers it: the first click, then the second
// as a double-click.
void doubleClick(QWidget* widget, QPoint at)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(widget, Qt::LeftButton, Qt::NoModifier, at);
}

class LogbookView : public ::testing::Test {
protected:
    LogbookView() : view(fixture.app)
    {
        save(0xAB, kMay6, {{0, KindDepth, 0}, {60, KindDepth, 40}, {61, KindTemperature, 72}, {2730, KindDepth, 0}});
        save(0xAB, kMay6 + 86400, {{0, KindDepth, 60}, {300, KindDepth, 0}});
        save(0x1A2B, kMay6 - 86400, {{0, KindDepth, 80}, {13320, KindDepth, 0}});
        fixture.app.listSavedDives();
        view.resize(1000, 500);
        view.show();
        load();
    }

    void save(uint32_t unit, uint32_t start, std::vector<CDiveDataRecord> samples)
    {
        CDiveLog log = testDive(unit, start, std::move(samples));
        ASSERT_EQ(log.saveDive(fixture.diveFolder()), 0);
    }
    void load()
    {
        view.refresh();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !view.loading(); }, 10000));
    }
    QString cell(int row, LogbookColumn column) const
    {
        return view.model().data(view.model().index(row, int(column)), Qt::DisplayRole).toString();
    }
    QRect rowRect(int row) const { return view.table()->visualRect(view.model().index(row, 1)); }

    ViewFixture fixture;
    CViewLogbook view;
};

TEST_F(LogbookView, ShowsEveryDiveWithTotalsAndSortsByAHeaderClick)
{
    ASSERT_EQ(view.model().rowCount(), 3);
    EXPECT_EQ(view.table()->accessibleName(), "Saved dives");
    // In start order at first.
    EXPECT_EQ(cell(0, LogbookColumn::Unit), "1A2B");
    EXPECT_EQ(cell(0, LogbookColumn::Duration), "222:00");
    EXPECT_EQ(cell(1, LogbookColumn::Start), "2012-05-06 14:22:33");
    EXPECT_EQ(cell(1, LogbookColumn::MinTemp), "18.00");
    EXPECT_EQ(view.totalsText(), "3 dives, total time 4:32:30, deepest 40.0 m");
    bool named = false;
    for (QLabel* label : view.findChildren<QLabel*>())
        named = named || label->accessibleName() == "Totals 3 dives, total time 4:32:30, deepest 40.0 m";
    EXPECT_TRUE(named);

    QHeaderView* header = view.table()->horizontalHeader();
    const int depth = int(LogbookColumn::MaxDepth);
    const QPoint headerAt(header->sectionViewportPosition(depth) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, headerAt);
    EXPECT_EQ(cell(0, LogbookColumn::MaxDepth), "20.0");
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, headerAt);
    EXPECT_EQ(cell(0, LogbookColumn::MaxDepth), "40.0");
    EXPECT_EQ(cell(2, LogbookColumn::MaxDepth), "20.0");

    // A second look reads no sample file; the cache beside the logs was
    // written, and another reader takes it.
    const size_t read = view.figuresCache()->filesRead();
    EXPECT_EQ(read, 3u);
    load();
    EXPECT_EQ(view.figuresCache()->filesRead(), read);
    EXPECT_EQ(view.model().rowCount(), 3);
    DiveFiguresCache again(fixture.diveFolder());
    EXPECT_EQ(BuildLogbook(again, fixture.app.savedDiveNames).size(), 3u);
    EXPECT_TRUE(again.cacheFileTaken());
    EXPECT_EQ(again.filesRead(), 0u);
}

TEST_F(LogbookView, TheUnitFilterNarrowsRowsAndTotals)
{
    QComboBox* unit = nullptr;
    for (QComboBox* box : view.findChildren<QComboBox*>())
        if (box->accessibleName() == "Unit")
            unit = box;
    ASSERT_NE(unit, nullptr);
    ASSERT_EQ(unit->count(), 3);  // all, 00AB, 1A2B
    unit->setCurrentIndex(unit->findText("00AB"));
    EXPECT_EQ(view.model().rowCount(), 2);
    EXPECT_EQ(view.unitFilter(), "00AB");
    EXPECT_EQ(view.totalsText(), "2 dives, total time 50:30, deepest 30.0 m");
    // Read again, the filter stays.
    load();
    EXPECT_EQ(view.model().rowCount(), 2);
    view.setUnitFilter("");
    EXPECT_EQ(view.model().rowCount(), 3);
}

TEST_F(LogbookView, DoubleClickOrEnterOpensADiveAndTheSelectionIsHandedOut)
{
    QSignalSpy opened(&view, &CViewLogbook::openDive);
    doubleClick(view.table()->viewport(), rowRect(1).center());
    ASSERT_EQ(opened.count(), 1);
    EXPECT_EQ(opened[0][0].toString(), "00AB");
    EXPECT_EQ(opened[0][1].toString(), "2012-05-06_14-22-33_O");

    view.table()->setFocus();
    view.table()->setCurrentIndex(view.model().index(0, 0));
    QTest::keyClick(view.table(), Qt::Key_Return);
    ASSERT_EQ(opened.count(), 2);
    EXPECT_EQ(opened[1][0].toString(), "1A2B");

    view.table()->selectionModel()->select(view.model().index(2, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const std::vector<LogbookRow> selected = view.selectedDives();
    ASSERT_EQ(selected.size(), 2u);
    std::vector<std::string> paths = view.selectedBasePaths();
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(paths[0], joinFolder(fixture.diveFolder(), "KTL_SN1A2B_2012-05-05_14-22-33_O"));
    EXPECT_EQ(paths[1], joinFolder(fixture.diveFolder(), "KTL_SNAB_2012-05-07_14-22-33_O"));
    // A sort keeps the selection on its dives.
    view.table()->sortByColumn(int(LogbookColumn::Duration), Qt::DescendingOrder);
    std::vector<std::string> again = view.selectedBasePaths();
    std::sort(again.begin(), again.end());
    EXPECT_EQ(again, paths);
}

class LogbookWindow : public ShellTest {
protected:
    void SetUp() override
    {
        // Two dives of one day, the names differing only at their ends.
        for (uint32_t start : {kMay6, kMay6 + 7200})
            ASSERT_EQ(testDive(0xAB, start, {{0, KindDepth, 0}, {60, KindDepth, 40}, {900, KindDepth, 0}})
                          .saveDive(dir.file("dive")),
                      0);
        startApp();
        openFrame();
    }
    desktop::CViewLogbook* logbook() const { return dynamic_cast<CViewLogbook*>(frame->view(VIEW_LOGBOOK)); }
};

TEST_F(LogbookWindow, TheTreeShowsWholeNamesWithTheirFiguresAndScrollsSideways)
{
    desktop::MListUnit& tree = frame->tree();
    QTreeWidgetItem* late = tree.findGrandchild("Dive log", "00AB", "2012-05-06_16-22-33_O");
    ASSERT_NE(late, nullptr);
    tree.expandAll();
    // The default width shows the whole name.
    const int needed = tree.fontMetrics().horizontalAdvance(late->text(0));
    EXPECT_GE(tree.visualItemRect(late).width(), needed);
    EXPECT_LE(tree.visualItemRect(late).right(), tree.viewport()->width());
    const QString tip = late->data(0, Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.startsWith("00AB 2012-05-06 16:22:33 UTC\nDuration 15:00 min, max depth 20.0 m")) << tip.toStdString();

    // Narrowed, the tree scrolls instead of cutting names.
    frame->splitter().setSizes({60, 800});
    QApplication::processEvents();
    EXPECT_GT(tree.horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(tree.textElideMode(), Qt::ElideNone);
}

TEST_F(LogbookWindow, TheSavedRootShowsTheLogbookAndADoubleClickOpensTheDive)
{
    ASSERT_TRUE(clickNode({"Dive log"}));
    EXPECT_EQ(frame->viewShowing(), VIEW_LOGBOOK);
    ASSERT_NE(named<QTableView>("Saved dives"), nullptr);
    ASSERT_TRUE(waitFor([&] { return !logbook()->loading(); }));
    ASSERT_EQ(logbook()->model().rowCount(), 2);
    EXPECT_EQ(logbook()->totalsText(), "2 dives, total time 30:00, deepest 20.0 m");

    // A unit's node shows that unit's dives.
    ASSERT_TRUE(clickNode({"Dive log", "00AB"}));
    EXPECT_EQ(frame->viewShowing(), VIEW_LOGBOOK);
    ASSERT_TRUE(waitFor([&] { return !logbook()->loading(); }));
    EXPECT_EQ(logbook()->unitFilter(), "00AB");
    EXPECT_EQ(logbook()->model().rowCount(), 2);

    QTableView* table = logbook()->table();
    const QModelIndex second = logbook()->model().index(1, int(LogbookColumn::Start));
    doubleClick(table->viewport(), table->visualRect(second).center());
    EXPECT_EQ(frame->viewShowing(), VIEW_DIVE);
    EXPECT_EQ(frame->tree().labels().nodeLabel, "2012-05-06_16-22-33_O");
    auto* dive = dynamic_cast<desktop::CViewDive*>(frame->view(VIEW_DIVE));
    ASSERT_NE(dive, nullptr);
    EXPECT_TRUE(dive->summaryText().startsWith("Dive info: unit 00AB")) << dive->summaryText().toStdString();
}

}  // namespace
}  // namespace ravo::test
