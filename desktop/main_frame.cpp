#include "desktop/main_frame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QShortcut>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>

#include "app/tree_rules.h"
#include "app/window_layout.h"
#include "desktop/frame_signals.h"
#include "desktop/job_event_bridge.h"
#include "desktop/list_unit.h"
#include "desktop/views/view_dive.h"
#include "desktop/views/view_health.h"
#include "desktop/views/view_logbook.h"
#include "desktop/views/view_unit.h"
#include "desktop/views/view_unit_dive.h"
#include "desktop/views/view_unit_redbox.h"

namespace ravo::desktop {

CMainFrame::CMainFrame(CRavo_ConfigApp& app, FramePeriods periods, QWidget* parent)
    : QMainWindow(parent), app_(app)
{
    dispatcher_ = std::make_unique<FrameDispatcher>(app_, *this, *this, periods);
    signals_ = new FrameSignals(this);
    bridge_ = new JobEventBridge(this);
    bridge_->connectTo(*dispatcher_);
    dispatcher_->setWorkerEvents(bridge_);
    for (size_t id = 0; id < timers_.size(); ++id) {
        timers_[id] = new QTimer(this);
        timers_[id]->setSingleShot(true);
        connect(timers_[id], &QTimer::timeout, this, [this, id] { dispatcher_->onTimer(FrameTimer(id)); });
    }
    setWindowTitle(kProgramBanner);
    setAccessibleName(kProgramBanner);
    restoreLayout();
    createBars();
    dispatcher_->begin();
    createClientArea();
    // A newcomer starts at the unit: the unit view with its first step.
    tree_->selectPath({QString(kUnitRoot)});
}

CMainFrame::~CMainFrame()
{
    stopAndWaitForJob();
    // The views follow the dispatcher's state: they go before it does.
    delete splitter_;
    splitter_ = nullptr;
}

JobEvents& CMainFrame::jobEvents()
{
    return *bridge_;
}

void CMainFrame::stopAndWaitForJob()
{
    if (!app_.worker)
        return;  // the application has shut down already
    WorkTask& worker = *app_.worker;
    if (!worker.running() && worker.waitFinished(0))
        return;
    // The worker never waits for the window, so waiting here cannot lock;
    // a block or a chunk ends within its reply waits.
    worker.requestStop();
    while (!worker.waitFinished(1000))
        worker.requestStop();
}

void CMainFrame::finishBeforeQuit()
{
    if (!app_.worker || !dispatcher_->busy())
        return;
    stopAndWaitForJob();
    // The job's last events are posted to the bridge: handle them now, the
    // event loop will not.
    bridge_->deliverPending();
}

void CMainFrame::quitRequested()
{
    if (dispatcher_->requestQuit())
        closeWindow();
}

void CMainFrame::createClientArea()
{
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setChildrenCollapsible(false);
    tree_ = new MListUnit(*dispatcher_, app_.savedDiveNames, splitter_);
    tree_->setDiveFolder(&app_.config.diveFolder);
    stack_ = new QStackedWidget(splitter_);
    ViewContext ctx{app_, *dispatcher_, dispatcher_->state(), *signals_};
    views_[VIEW_DIVE] = new CViewDive(ctx, stack_);
    views_[VIEW_UNIT] = new CViewUnit(ctx, stack_);
    views_[VIEW_UNIT_DIVE] = new CViewUnitDive(ctx, stack_);
    views_[VIEW_UNIT_REDBOX] = new CViewUnitRedbox(ctx, stack_);
    views_[VIEW_HEALTH] = new CViewHealth(ctx, stack_);
    auto* logbook = new CViewLogbook(app_, stack_);
    views_[VIEW_LOGBOOK] = logbook;
    // Each view becomes the visible one as it is made; the unit view shows first.
    for (QWidget* view : views_)
        stack_->setCurrentIndex(stack_->addWidget(view));
    stack_->setCurrentIndex(VIEW_UNIT);
    // A dive opened from the logbook is selected in the tree, as the user
    // would: the tree and the dive view agree on what shows.
    connect(logbook, &CViewLogbook::openDive, this, [this](const QString& unit, const QString& log) {
        tree_->selectPath({QString::fromUtf8(kSavedRoot), unit, log});
        tree_->scrollToItem(tree_->currentItem());
    });
    tree_->setFiguresSource([logbook](const std::string& unit, const std::string& log) {
        return SavedDiveFiguresText(LogbookRowFor(*logbook->figuresCache(), unit, log));
    });
    splitter_->setStretchFactor(1, 1);
    // Until the user sets it, the tree is as wide as a saved dive's whole name.
    SplitterWidths widths;
    if (ConfigStore* store = app_.configStore())
        widths = loadSplitterWidths(*store);
    if (!widths.stored)
        widths.left = std::max(widths.left, tree_->fittingWidth());
    splitter_->setSizes({widths.left, widths.right});
    setCentralWidget(splitter_);

    auto* next = new QShortcut(QKeySequence(Qt::Key_F6), this);
    connect(next, &QShortcut::activated, this, [this] { switchPane(true); });
    auto* previous = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6), this);
    connect(previous, &QShortcut::activated, this, [this] { switchPane(false); });
}

void CMainFrame::switchPane(bool)
{
    // Two panes: forward and back both go to the other one.
    if (!(tree_->hasFocus() || tree_->isAncestorOf(QApplication::focusWidget()))) {
        tree_->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The view's first control in the tab order, never the view itself.
    QWidget* view = stack_->currentWidget();
    for (QWidget* w = view->nextInFocusChain(); w && w != view; w = w->nextInFocusChain())
        if (view->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisible()) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
}

void CMainFrame::startFrameTimer(FrameTimer id, uint32_t ms)
{
    timers_[size_t(id)]->start(int(ms));
}

void CMainFrame::stopFrameTimer(FrameTimer id)
{
    timers_[size_t(id)]->stop();
}

void CMainFrame::showView(FrameView view)
{
    stack_->setCurrentIndex(int(view));
    stack_->repaint();
    updateFileMenu();
}

FrameView CMainFrame::viewShowing() const
{
    return FrameView(stack_->currentIndex());
}

void CMainFrame::showStatusText(const std::string& text)
{
    messagePane_->setText(QString::fromStdString(text));
    messagePane_->setAccessibleDescription(messagePane_->text());
}

void CMainFrame::showOnline(bool online)
{
    onlinePane_->setText(online ? "ONLINE" : "");
}

QString CMainFrame::onlineText() const
{
    return onlinePane_->text();
}

void CMainFrame::selectionToView(const TreeLabels& labels)
{
    if (auto* pane = dynamic_cast<ViewPane*>(stack_->currentWidget()))
        pane->treeSelection(labels);
    updateFileMenu();
}

void CMainFrame::stateChanged(FrameChange change)
{
    switch (change) {
    case FrameChange::Job: emit signals_->jobChanged(); break;
    case FrameChange::Unit: emit signals_->unitChanged(); break;
    case FrameChange::Directory: emit signals_->directoryChanged(); break;
    case FrameChange::Link: emit signals_->linkChanged(); break;
    }
}

void CMainFrame::jobEnded(const JobOutcome& outcome)
{
    emit signals_->jobEnded(outcome);
}

void CMainFrame::addUnitToTree(const std::string& unitText)
{
    const QString unit = QString::fromStdString(unitText);
    tree_->ensureGrandchild("Ravo unit", unit, "Dive log");
    tree_->ensureGrandchild("Ravo unit", unit, "Redbox log");
}

void CMainFrame::rebuildSavedLogs()
{
    tree_->rebuildSavedLogs();
    // A dive saved while the logbook shows appears in it.
    if (viewShowing() == VIEW_LOGBOOK)
        static_cast<CViewLogbook*>(views_[VIEW_LOGBOOK])->refresh();
    tree_->repaint();
    // The unit's health counts the dive just saved.
    if (auto* health = qobject_cast<CViewHealth*>(views_[VIEW_HEALTH]))
        health->refresh();
    update();
}

bool CMainFrame::chooseRedboxPath(const std::string& proposed, std::string& chosen)
{
    if (redboxChooser_)
        return redboxChooser_(proposed, chosen);
    const QFileInfo file(QString::fromStdString(proposed));
    QFileDialog dialog(this, "Save As", file.absolutePath());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix("cvsr");
    dialog.setNameFilters({"Redbox File (*.cvsr)", "All Files (*.*)"});
    dialog.selectFile(file.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    chosen = dialog.selectedFiles().first().toStdString();
    return true;
}

void CMainFrame::showFileErrors(const FileMessages& messages)
{
    for (const std::string& text : messages)
        QMessageBox::critical(this, kProgramName, QString::fromStdString(text));
}

bool CMainFrame::confirm(const std::string& title, const std::string& text)
{
    return QMessageBox::question(this, QString::fromStdString(title), QString::fromStdString(text)) ==
           QMessageBox::Yes;
}

void CMainFrame::notice(const std::string& title, const std::string& text)
{
    QMessageBox::information(this, QString::fromStdString(title), QString::fromStdString(text));
}

void CMainFrame::closeWindow()
{
    closingForGood_ = true;
    close();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!closingForGood_ && !dispatcher_->requestClose()) {
        event->ignore();
        return;
    }
    closingForGood_ = true;
    saveLayout();
    QMainWindow::closeEvent(event);
}

void CMainFrame::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (reopenMaximized_) {
        reopenMaximized_ = false;
        QTimer::singleShot(0, this, [this] { setWindowState(windowState() | Qt::WindowMaximized); });
    }
}

void CMainFrame::paintEvent(QPaintEvent* event)
{
    QMainWindow::paintEvent(event);
    if (!painted_) {
        painted_ = true;
        emit firstPainted();
    }
}

}  // namespace ravo::desktop
