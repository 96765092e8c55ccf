// Through the main window against the simulated unit whose cell 2 sinks over
// five dives: the dives downloaded, "Health" under the saved unit flags cell 2
// above its trend, and the dive report's File entries follow the dive shown.
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPrintPreviewWidget>

#include "desktop/controls/health_trend_ctrl.h"
#include "desktop/controls/unit_log_list_ctrl.h"
#include "desktop/print/report_printing.h"
#include "desktop/views/view_health.h"
#include "desktop/views/view_unit_dive.h"
#include "divedata/health_trend.h"
#include "divedata/saved_logs.h"
#include "tests/desktop_shell/shell_fixture.h"

namespace ravo::test {
namespace {

class HealthWindow : public ShellTest {
protected:
    QAction* fileEntry(const QString& text)
    {
        for (QAction* menu : frame->menuBar()->actions())
            if (menu->text() == "&File")
                for (QAction* action : menu->menu()->actions())
                    if (action->text() == text)
                        return action;
        return nullptr;
    }
    QLabel* labelStarting(const QString& prefix)
    {
        for (QLabel* label : frame->findChildren<QLabel*>())
            if (label->accessibleName().startsWith(prefix) && label->isVisible())
                return label;
        return nullptr;
    }
    void downloadEveryDive()
    {
        app->config.setUnitNumberText("1234");
        frame->requests().requestReadInfo();
        ASSERT_TRUE(waitFor([&] { return !jobRunning() && frame->tree().findChild("Ravo unit", "1234"); }));
        ASSERT_TRUE(clickNode({"Ravo unit", "1234", "Dive log"}));
        auto* view = dynamic_cast<desktop::CViewUnitDive*>(frame->view(VIEW_UNIT_DIVE));
        ASSERT_NE(view, nullptr);
        desktop::CUnitLogListCtrl* list = view->list();
        ASSERT_TRUE(waitFor([&] { return !jobRunning() && list->rowCount() == 5; }));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(list, Qt::Key_Return);
        ASSERT_TRUE(waitFor([&] { return !jobRunning() && app->savedDiveNames.size() == 5; }, 30000));
    }
};

TEST_F(HealthWindow, TheSinkingCellIsFlaggedAndTheReportFollowsTheDiveShown)
{
    startApp("sim:sinking-cell");
    openFrame();
    downloadEveryDive();
    if (HasFatalFailure())
        return;

    ASSERT_TRUE(clickNode({"Dive log", "1234", "Health"}));
    ASSERT_EQ(frame->viewShowing(), VIEW_HEALTH);
    QLabel* warning = labelStarting("Warning (");
    ASSERT_NE(warning, nullptr);
    EXPECT_TRUE(warning->text().contains("Cell 2 38 mV is 17% below its median")) << warning->text().toStdString();
    EXPECT_FALSE(warning->text().contains("Cell 1")) << "cell 1 holds steady";
    EXPECT_NE(labelStarting("Health of unit 1234"), nullptr);
    // The whole warning shows, wrapped over lines.
    QApplication::processEvents();
    EXPECT_GE(warning->height(), warning->heightForWidth(warning->width()));
    auto* health = dynamic_cast<desktop::CViewHealth*>(frame->view(VIEW_HEALTH));
    ASSERT_NE(health, nullptr);
    ASSERT_EQ(health->report().dives.size(), 5u);
    EXPECT_EQ(health->report().dives.back().cellMv[1], 38);
    const QImage trend = health->trendCtrl()->grab().toImage();
    const Rgb flag = HealthTrendColours{}.flag;
    int flagged = 0;
    for (int y = 0; y < trend.height(); ++y)
        for (int x = 0; x < trend.width(); ++x)
            flagged += trend.pixelColor(x, y) == QColor(flag.r, flag.g, flag.b);
    EXPECT_GT(flagged, 20) << "the flagged point is squared on the trend";

    // No dive shown: no report to print; Print Setup stands.
    QAction* print = fileEntry("&Print...");
    QAction* preview = fileEntry("Print Pre&view");
    QAction* pdf = fileEntry("Export P&DF...");
    ASSERT_TRUE(print && preview && pdf);
    EXPECT_FALSE(print->isEnabled() || preview->isEnabled() || pdf->isEnabled());
    EXPECT_TRUE(fileEntry("P&rint Setup...")->isEnabled());

    const std::string stamp = DateKindFromLogName(app->savedDiveNames.back());
    ASSERT_TRUE(clickNode({"Dive log", "1234", QString::fromStdString(stamp)}));
    EXPECT_TRUE(print->isEnabled() && preview->isEnabled() && pdf->isEnabled());

    desktop::ReportPrinting& printing = frame->reportPrinting();
    int previewPages = -1;
    printing.setDialogRunner([&](QDialog& dialog) {
        dialog.show();
        QApplication::processEvents();
        if (auto* widget = dialog.findChild<QPrintPreviewWidget*>())
            previewPages = widget->pageCount();
        return false;
    });
    preview->trigger();
    EXPECT_EQ(previewPages, 1);

    QString proposed;
    const QString written = QString::fromStdString(dir.file("report.pdf"));
    printing.setPathChooser([&](const QString& offered, QString& path) {
        proposed = offered;
        path = written;
        return true;
    });
    pdf->trigger();
    EXPECT_TRUE(proposed.endsWith(QString::fromStdString("KTL_SN1234_" + stamp + ".pdf"))) << proposed.toStdString();
    EXPECT_EQ(readFile(written.toStdString()).rfind("%PDF", 0), 0u);
}

}  // namespace
}  // namespace ravo::test
