// Through the main window against ravo-unit-sim in a process of its own: two
// dives chosen in the unit's dive list are downloaded as one job, saved byte
// for byte as the unit holds them, marked saved in the list, listed in the
// tree, and shown with summary and graph when selected.
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <nlohmann/json.hpp>

#include "desktop/controls/dive_graph_ctrl.h"
#include "desktop/controls/unit_log_list_ctrl.h"
#include "desktop/views/view_dive.h"
#include "desktop/views/view_unit_dive.h"
#include "divedata/sample_csv.h"
#include "divedata/saved_logs.h"
#include "support/sim_process.h"
#include "tests/desktop_shell/shell_fixture.h"

namespace ravo::test {
namespace {

std::vector<uint8_t> bytesOf(const std::vector<CDiveDataRecord>& samples)
{
    std::vector<uint8_t> bytes;
    for (const CDiveDataRecord& s : samples)
        bytes.insert(bytes.end(), {uint8_t(s.time), uint8_t(s.time >> 8), s.kind, s.value});
    return bytes;
}

std::vector<uint8_t> hexBytes(const std::string& hex)
{
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(uint8_t(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

class DiveWindow : public ShellTest {
protected:
    void SetUp() override
    {
        sim = std::make_unique<SimProcess>(RAVO_SIM_PATH, std::vector<std::string>{"--port", "0"});
        address = sim->readLine();
        ASSERT_EQ(address.rfind("tcp:127.0.0.1:", 0), 0u) << address;
    }
    nlohmann::json dump()
    {
        sim->writeLine("dump");
        return nlohmann::json::parse(sim->readUntil("\n}\n"), nullptr, false);
    }
    QPoint rowCentre(desktop::CUnitLogListCtrl* list, int row)
    {
        return list->visualRect(list->model()->index(row, 0)).center();
    }

    std::unique_ptr<SimProcess> sim;
    std::string address;
};

TEST_F(DiveWindow, ChosenDivesAreDownloadedSavedListedAndShown)
{
    startApp(address);
    openFrame();
    // "Read Info" for unit 1234 puts the unit in the tree.
    app->config.setUnitNumberText("1234");
    frame->requests().requestReadInfo();
    ASSERT_TRUE(waitFor([&] { return !jobRunning() && frame->tree().findChild("Ravo unit", "1234"); }));

    ASSERT_TRUE(clickNode({"Ravo unit", "1234", "Dive log"}));
    ASSERT_EQ(frame->viewShowing(), VIEW_UNIT_DIVE);
    auto* view = dynamic_cast<desktop::CViewUnitDive*>(frame->view(VIEW_UNIT_DIVE));
    ASSERT_NE(view, nullptr);
    desktop::CUnitLogListCtrl* list = view->list();
    ASSERT_TRUE(waitFor([&] { return !jobRunning() && list->rowCount() == 4; }));

    // Rows 1 and 3, then Enter: one job for both, one bar.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(list, 3));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(status(), "Read 2 dives from unit 1234");
    ASSERT_TRUE(waitFor([&] { return !jobRunning() && app->savedDiveNames.size() == 2; }, 30000));
    ASSERT_TRUE(waitFor([&] { return !view->progressBar()->isVisible(); }));
    EXPECT_EQ(list->model()->index(1, 2).data().toString(), "saved");
    EXPECT_EQ(list->model()->index(3, 2).data().toString(), "saved");
    EXPECT_EQ(list->model()->index(0, 2).data().toString(), "");

    // Saved byte for byte as the unit holds them.
    nlohmann::json state = dump();
    ASSERT_TRUE(state.is_object());
    for (int index : {1, 3}) {
        CDiveLog named;
        named.info = frame->dispatcher().state().dives.entries.at(size_t(index));
        std::vector<CDiveDataRecord> samples;
        ASSERT_EQ(ReadSamplesCsv(app->config.diveFolder + "/" + named.makeFileName(true) + ".csv", samples), 0);
        EXPECT_EQ(bytesOf(samples), hexBytes(state["diveLogs"][size_t(index)]["records"].get<std::string>()))
            << "dive " << index;
    }

    // The first saved dive in the tree shows its summary and graph.
    const std::string stamp = DateKindFromLogName(app->savedDiveNames[0]);
    ASSERT_TRUE(clickNode({"Dive log", "1234", QString::fromStdString(stamp)}));
    ASSERT_EQ(frame->viewShowing(), VIEW_DIVE);
    auto* dive = dynamic_cast<desktop::CViewDive*>(frame->view(VIEW_DIVE));
    ASSERT_NE(dive, nullptr);
    EXPECT_TRUE(dive->summaryText().startsWith("Dive info: unit 1234 (records ")) << dive->summaryText().toStdString();
    EXPECT_TRUE(dive->summaryText().contains("Duration ")) << dive->summaryText().toStdString();
    EXPECT_TRUE(dive->graphCtrl()->graph().hasData);
    const QImage graph = dive->graphCtrl()->grab().toImage();
    bool line = false;
    for (int x = 0; x < graph.width() && !line; ++x)
        for (int y = 0; y < graph.height() && !line; ++y)
            line = graph.pixelColor(x, y) == QColor(255, 255, 255);
    EXPECT_TRUE(line);

    // The File menu offers the export while the dive shows.
    QMenu* fileMenu = nullptr;
    for (QAction* action : frame->menuBar()->actions())
        if (action->text() == "&File")
            fileMenu = action->menu();
    ASSERT_NE(fileMenu, nullptr);
    QAction* exportAction = nullptr;
    for (QAction* action : fileMenu->actions())
        if (action->text() == "&Export Dive...")
            exportAction = action;
    ASSERT_NE(exportAction, nullptr);
    emit fileMenu->aboutToShow();
    EXPECT_TRUE(exportAction->isEnabled());
}

// A long dive on a link of real speed: the list shows the records read,
// "Cancel" stops the download, and the dive is then shown as incomplete.
class LongDiveWindow : public ShellTest {};

TEST_F(LongDiveWindow, CancelledDownloadShowsProgressThenIncomplete)
{
    startApp(slowLongDive());
    openFrame();
    app->config.setUnitNumberText("1234");
    frame->requests().requestReadInfo();
    ASSERT_TRUE(waitFor([&] { return !jobRunning() && frame->tree().findChild("Ravo unit", "1234"); }, 30000));
    ASSERT_TRUE(clickNode({"Ravo unit", "1234", "Dive log"}));
    auto* view = dynamic_cast<desktop::CViewUnitDive*>(frame->view(VIEW_UNIT_DIVE));
    ASSERT_NE(view, nullptr);
    desktop::CUnitLogListCtrl* list = view->list();
    ASSERT_TRUE(waitFor([&] { return !jobRunning() && list->rowCount() >= 1; }, 30000));

    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                       list->visualRect(list->model()->index(0, 0)).center());
    QProgressBar* bar = view->progressBar();
    ASSERT_TRUE(waitFor([&] { return bar->isVisible() && bar->value() >= 100; }, 30000));
    EXPECT_EQ(bar->maximum(), int(frame->dispatcher().state().dives.entries.at(0).recordCount));
    auto* cancel = named<QPushButton>("Cancel");
    ASSERT_NE(cancel, nullptr);
    EXPECT_TRUE(cancel->isEnabled());
    QTest::mouseClick(cancel, Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return !jobRunning(); }, 30000));
    ASSERT_TRUE(waitFor([&] { return !bar->isVisible(); }));
    EXPECT_EQ(list->model()->index(0, 2).data().toString(), "incomplete");
    EXPECT_EQ(named<QLabel>("Download note")->text(), "The last download ended early: its dive is marked incomplete");
}

}  // namespace
}  // namespace ravo::test
