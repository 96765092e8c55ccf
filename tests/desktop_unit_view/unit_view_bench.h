#pragma once
#include <QApplication>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ravo_config_app.h"
#include "desktop/main_frame.h"
#include "desktop/views/view_unit.h"
#include "link/clock.h"
#include "sim/sim_unit.h"
#include "support/recording_events.h"
#include "support/temp_dir.h"
#include "support_desktop/modal_helpers.h"

class QTreeWidgetItem;

namespace ravo::test {

// A started application whose link reaches a simulated unit in this process,
// and the unit view in its real main window. The worker's events pass
// through `events` on their way to the window, so a test can hold a job.
struct UnitViewBench {
    explicit UnitViewBench(const std::string& preset = "fw4925", const std::string& unitText = "1234");
    ~UnitViewBench();

    // Waits (real time, bounded) until the window has handled the end of
    // every job it started.
    void finishJob();
    void readInfo();
    QWidget* control(const QString& accessibleName) const;
    // The settings list's row named `name`, or null.
    QTreeWidgetItem* row(const QString& name) const;
    int rowCount() const;
    void doubleClickRow(const QString& name);
    std::string status() const { return frame->dispatcher().statusText(); }
    bool busy() const { return frame->dispatcher().busy(); }

    TempDir home;
    // Virtual time for the worker and the unit: the unit's clock does not
    // move between two reads however slowly the machine runs them.
    ManualClock clock;
    CRavo_ConfigApp app;
    std::shared_ptr<sim::SimUnit> unit;
    std::unique_ptr<desktop::CMainFrame> frame;
    desktop::CViewUnit* view = nullptr;
    std::unique_ptr<RelayEvents> events;
    // The kinds of the jobs that ended, in order, and the status line once
    // the views had handled each end.
    std::vector<JobKind> ended;
    std::vector<std::string> statusAtEnd;
    // The questions before a firmware download; answered with `answerDownload`.
    std::vector<std::string> downloadQuestions;
    bool answerDownload = true;
};

}  // namespace ravo::test
