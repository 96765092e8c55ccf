#pragma once
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "app/frame_dispatcher.h"
#include "divedata/dive_log.h"

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QStackedWidget;
class QTimer;

namespace ravo::desktop {

class FrameSignals;
class JobEventBridge;
class MListUnit;
class ReportPrinting;

// The program's main window: menu, tool bar, status line, the tree on the
// left and one of the four views on the right. Every decision is the
// dispatcher's; this class draws, forwards and keeps the layout.
class CMainFrame : public QMainWindow, public FrameWindow, public FrameTimers {
    Q_OBJECT
public:
    explicit CMainFrame(CRavo_ConfigApp& app, FramePeriods periods = {}, QWidget* parent = nullptr);
    // Waits for a job still running (told to stop): its events must not
    // reach a window that is gone.
    ~CMainFrame() override;

    FrameDispatcher& dispatcher() { return *dispatcher_; }
    // Where the views and the tree send their requests.
    FrameRequests& requests() { return *dispatcher_; }
    FrameSignals& frameSignals() { return *signals_; }
    // Where the worker's events enter the window (the bridge to the UI thread).
    JobEvents& jobEvents();
    MListUnit& tree() { return *tree_; }
    QWidget* view(FrameView index) const { return views_[size_t(index)]; }
    QSplitter& splitter() { return *splitter_; }
    QString onlineText() const;
    // File > Print, Print Preview, Print Setup and "Export PDF..." of the
    // dive shown; tests answer its dialogs.
    ReportPrinting& reportPrinting() { return *report_; }

    // Replaces the redbox Save dialog (a test, a scripted run).
    void setRedboxPathChooser(RedboxPathChooser chooser) { redboxChooser_ = std::move(chooser); }

    // FrameWindow
    void showView(FrameView view) override;
    FrameView viewShowing() const override;
    void showStatusText(const std::string& text) override;
    void showOnline(bool online) override;
    void selectionToView(const TreeLabels& labels) override;
    void stateChanged(FrameChange change) override;
    void jobEnded(const JobOutcome& outcome) override;
    void addUnitToTree(const std::string& unitText) override;
    void rebuildSavedLogs() override;
    bool chooseRedboxPath(const std::string& proposed, std::string& chosen) override;
    void showFileErrors(const FileMessages& messages) override;
    bool confirm(const std::string& title, const std::string& text) override;
    void notice(const std::string& title, const std::string& text) override;
    void closeWindow() override;

public slots:
    // The system asks the program to end (log-out, shutdown, SIGTERM): a
    // running job stops at its next block or chunk, what arrived is saved,
    // and the window closes without asking.
    void quitRequested();
    // The event loop is ending with a job still running: the job is stopped
    // and waited for here, and what it sent is handled (a log is saved).
    void finishBeforeQuit();

signals:
    // Once, when the window has been painted for the first time.
    void firstPainted();

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

public:
    // FrameTimers
    void startFrameTimer(FrameTimer id, uint32_t ms) override;
    void stopFrameTimer(FrameTimer id) override;

private:
    void createBars();
    void createClientArea();
    void restoreLayout();
    void saveLayout();
    void switchPane(bool forward);
    void showAbout();
    void enterServiceCode();
    void showPreferences();
    // Edit > Copy: the dive summary, or the selected rows of the view's list.
    void copySelection();
    void stopAndWaitForJob();
    void createReportEntries(QMenu* file);
    // The File menu's entries follow the view showing and its dive.
    void updateFileMenu();

    CRavo_ConfigApp& app_;
    std::unique_ptr<FrameDispatcher> dispatcher_;
    JobEventBridge* bridge_ = nullptr;
    FrameSignals* signals_ = nullptr;
    std::array<QTimer*, kFrameTimerCount> timers_{};
    QSplitter* splitter_ = nullptr;
    MListUnit* tree_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    std::array<QWidget*, kFrameViewCount> views_{};
    ReportPrinting* report_ = nullptr;
    QAction* exportAction_ = nullptr;
    std::vector<QAction*> reportActions_;
    QLabel* messagePane_ = nullptr;
    QLabel* onlinePane_ = nullptr;
    RedboxPathChooser redboxChooser_;
    bool closingForGood_ = false;
    bool painted_ = false;
    bool reopenMaximized_ = false;
};

}  // namespace ravo::desktop
