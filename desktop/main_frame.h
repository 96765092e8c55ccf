#pragma once
#include <QMainWindow>
#include <array>
#include <memory>

#include "app/frame_dispatcher.h"
#include "divedata/dive_log.h"

class QLabel;
class QSplitter;
class QStackedWidget;
class QTimer;

namespace ravo::desktop {

class MessageBridge;
class MListUnit;

// The program's main window: menu, tool bar, status line, the tree on the
// left and one of the four views on the right. Every decision is the
// dispatcher's; this class draws, forwards and keeps the layout.
class CMainFrame : public QMainWindow, public FrameWindow, public FrameTimers {
    Q_OBJECT
public:
    explicit CMainFrame(CRavo_ConfigApp& app, FramePeriods periods = {}, QWidget* parent = nullptr);
    ~CMainFrame() override;

    FrameDispatcher& dispatcher() { return *dispatcher_; }
    // Where the worker and the views send their messages (UI thread or not).
    MessageReceiver& receiver();
    MListUnit& tree() { return *tree_; }
    QWidget* view(FrameView index) const { return views_[size_t(index)]; }
    QSplitter& splitter() { return *splitter_; }
    QString onlineText() const;

    // Replaces the redbox Save dialog (a test, a scripted run).
    void setRedboxPathChooser(RedboxPathChooser chooser) { redboxChooser_ = std::move(chooser); }

    // FrameWindow
    void showView(FrameView view) override;
    FrameView viewShowing() const override;
    void showStatusText(const std::string& text) override;
    void showOnline(bool online) override;
    intptr_t forwardToView(unsigned message, uintptr_t wParam, intptr_t lParam) override;
    void addUnitToTree(const std::string& unitText) override;
    void rebuildSavedLogs() override;
    bool chooseRedboxPath(const std::string& proposed, std::string& chosen) override;
    void showFileErrors(const FileMessages& messages) override;
    bool waitOnLink(const std::function<void()>& work) override;
    bool linkWaitRunning() const override;
    void closeWindow() override;

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

    CRavo_ConfigApp& app_;
    std::unique_ptr<FrameDispatcher> dispatcher_;
    MessageBridge* bridge_ = nullptr;
    std::array<QTimer*, 3> timers_{};
    QSplitter* splitter_ = nullptr;
    MListUnit* tree_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    std::array<QWidget*, 4> views_{};
    QLabel* messagePane_ = nullptr;
    QLabel* onlinePane_ = nullptr;
    RedboxPathChooser redboxChooser_;
    bool closingForGood_ = false;
    bool painted_ = false;
    bool reopenMaximized_ = false;
};

}  // namespace ravo::desktop
