// The main window's menus, tool bar and status bar, and its stored layout.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QStackedWidget>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

#include "app/file_menu_rules.h"
#include "app/window_layout.h"
#include "app/preferences.h"
#include "desktop/copy_text.h"
#include "desktop/dialogs/about_dlg.h"
#include "desktop/dialogs/preferences_dlg.h"
#include "desktop/frame_signals.h"
#include "desktop/views/view_unit.h"
#include "desktop/dialogs/settings_dlg.h"
#include "desktop/main_frame.h"
#include "desktop/print/report_printing.h"
#include "desktop/views/view_dive.h"
#include "settings/service_code.h"

namespace ravo::desktop {
namespace {

QAction* addEntry(QMenu* menu, const QString& text, const QKeySequence& keys = {}, bool enabled = false)
{
    QAction* action = menu->addAction(text);
    action->setShortcut(keys);
    action->setEnabled(enabled);
    return action;
}

QLabel* addPane(QStatusBar* bar, const QString& text, const QString& name, int minWidth)
{
    auto* pane = new QLabel(text, bar);
    pane->setAccessibleName(name);
    pane->setMinimumWidth(minWidth);
    pane->setAlignment(Qt::AlignCenter);
    bar->addPermanentWidget(pane);
    return pane;
}

// The menu entry's own theme icon (freedesktop names); without one the
// button shows the entry's text, never an icon of another action.
QAction* toolAction(QToolBar* bar, QAction* source)
{
    auto* action = new QAction(source->icon(), QString(source->text()).remove('&').remove("..."), bar);
    action->setEnabled(source->isEnabled());
    QObject::connect(source, &QAction::changed, action, [action, source] { action->setEnabled(source->isEnabled()); });
    action->setToolTip(action->text());
    QObject::connect(action, &QAction::triggered, source, &QAction::trigger);
    bar->addAction(action);
    return action;
}

}  // namespace

void CMainFrame::createBars()
{
    // The program has no documents: no New, Open, Save, Cut, Paste or Undo.
    QMenu* file = menuBar()->addMenu("&File");
    // The dive view's export, while it shows a dive.
    exportAction_ = addEntry(file, "&Export Dive...");
    connect(file, &QMenu::aboutToShow, this, &CMainFrame::updateFileMenu);
    connect(exportAction_, &QAction::triggered, this, [this] {
        if (auto* dive = qobject_cast<CViewDive*>(views_[VIEW_DIVE]))
            dive->exportDive();
    });
    createReportEntries(file);
    QAction* printAction = reportActions_.front();
    file->addSeparator();
    QAction* exitAction = addEntry(file, "E&xit", QKeySequence::Quit, true);
    exitAction->setIcon(QIcon::fromTheme("application-exit"));
    connect(exitAction, &QAction::triggered, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu("&Edit");
    QAction* copyAction = addEntry(edit, "&Copy", QKeySequence::Copy, true);
    copyAction->setShortcuts({QKeySequence::Copy, QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    copyAction->setIcon(QIcon::fromTheme("edit-copy"));
    connect(copyAction, &QAction::triggered, this, &CMainFrame::copySelection);
    edit->addSeparator();
    QAction* preferencesAction = addEntry(edit, "Pr&eferences...", QKeySequence::Preferences, true);
    preferencesAction->setIcon(QIcon::fromTheme("preferences-system"));
    connect(preferencesAction, &QAction::triggered, this, &CMainFrame::showPreferences);

    QMenu* tools = menuBar()->addMenu("&Tools");
    // The service code prompt; its dialog keeps its own texts.
    QAction* serviceAction = addEntry(tools, "&Service mode...", {}, true);
    connect(serviceAction, &QAction::triggered, this, &CMainFrame::enterServiceCode);

    QMenu* help = menuBar()->addMenu("&Help");
    QAction* aboutAction = addEntry(help, "&About Ravo_Config...", {}, true);
    aboutAction->setIcon(QIcon::fromTheme("help-about"));
    connect(aboutAction, &QAction::triggered, this, &CMainFrame::showAbout);

    auto* toolBar = new QToolBar("Standard", this);
    toolBar->setObjectName("Standard");
    toolAction(toolBar, copyAction);
    toolBar->addSeparator();
    toolAction(toolBar, printAction);
    toolAction(toolBar, reportActions_[1]);
    toolBar->addSeparator();
    toolAction(toolBar, aboutAction);
    addToolBar(Qt::TopToolBarArea, toolBar);
    if (ConfigStore* store = app_.configStore())
        restoreState(QByteArray::fromHex(QByteArray::fromStdString(store->readText(kBarStateSection, kBarStateEntry, ""))));

    // The View menu comes after the bars it shows and hides; it stands before Help.
    QMenu* view = new QMenu("&View", this);
    menuBar()->insertMenu(help->menuAction(), view);
    QAction* toolbarToggle = toolBar->toggleViewAction();
    toolbarToggle->setText("&Toolbar");
    view->addAction(toolbarToggle);
    QAction* statusToggle = view->addAction("&Status Bar");
    statusToggle->setCheckable(true);
    statusToggle->setChecked(true);
    connect(statusToggle, &QAction::toggled, statusBar(), &QWidget::setVisible);
    if (ConfigStore* store = app_.configStore())
        statusToggle->setChecked(store->readInt(kBarStateSection, kStatusBarEntry, 1) != 0);

    // The message pane is a normal widget: menu prompts cover it for a moment
    // and the current status text shows again when they go.
    messagePane_ = new QLabel(statusBar());
    messagePane_->setAccessibleName("Status");
    statusBar()->addWidget(messagePane_, 1);
    onlinePane_ = addPane(statusBar(), QString(), "ONLINE", 60);
    // Qt cannot read the lock keys' state: the indicators stand, greyed.
    for (const char* lock : {"CAP", "NUM", "SCRL"})
        addPane(statusBar(), lock, lock, 36)->setEnabled(false);
}

void CMainFrame::createReportEntries(QMenu* file)
{
    report_ = new ReportPrinting(this);
    // The report of the dive view's dive, empty while it shows none.
    auto pages = [this] {
        auto* dive = qobject_cast<CViewDive*>(views_[VIEW_DIVE]);
        return dive && viewShowing() == VIEW_DIVE ? dive->reportPages() : std::vector<DiveReportPage>{};
    };
    QAction* pdf = addEntry(file, "Export P&DF...");
    pdf->setIcon(QIcon::fromTheme("document-export"));
    connect(pdf, &QAction::triggered, this, [this, pages] {
        if (auto* dive = qobject_cast<CViewDive*>(views_[VIEW_DIVE]))
            report_->exportPdf(pages(), dive->proposedExportPath("pdf"));
    });
    file->addSeparator();
    QAction* print = addEntry(file, "&Print...", QKeySequence::Print);
    print->setIcon(QIcon::fromTheme("document-print"));
    connect(print, &QAction::triggered, this, [this, pages] { report_->print(pages()); });
    QAction* preview = addEntry(file, "Print Pre&view");
    preview->setIcon(QIcon::fromTheme("document-print-preview"));
    connect(preview, &QAction::triggered, this, [this, pages] {
        const std::vector<DiveReportPage> shown = pages();
        if (!shown.empty())
            report_->preview(shown);
    });
    QAction* setup = addEntry(file, "P&rint Setup...", {}, true);
    setup->setIcon(QIcon::fromTheme("document-page-setup"));
    connect(setup, &QAction::triggered, report_, &ReportPrinting::pageSetup);
    reportActions_ = {print, preview, pdf};
}

void CMainFrame::updateFileMenu()
{
    if (!exportAction_)
        return;
    auto* dive = qobject_cast<CViewDive*>(views_[VIEW_DIVE]);
    const FileMenuEnabling enabling =
        fileMenuEnabling(stack_ ? viewShowing() : VIEW_UNIT_REDBOX, dive && dive->canExport());
    exportAction_->setEnabled(enabling.exportDive);
    for (QAction* action : reportActions_)
        action->setEnabled(enabling.report);
}

void CMainFrame::showAbout()
{
    CAboutDlg dialog(this);
    dialog.exec();
}

void CMainFrame::copySelection()
{
    QWidget* view = stack_->currentWidget();
    QString text;
    if (auto* dive = qobject_cast<CViewDive*>(view)) {
        text = dive->summaryText();
    } else {
        // The list with the focus, else the first of the view's lists with a selection.
        auto* focused = qobject_cast<QAbstractItemView*>(QApplication::focusWidget());
        if (focused && view->isAncestorOf(focused))
            text = selectedRowsText(focused);
        for (QAbstractItemView* list : view->findChildren<QAbstractItemView*>())
            if (text.isEmpty() && list->isVisible())
                text = selectedRowsText(list);
    }
    if (text.isEmpty()) {
        dispatcher_->showStatus("Nothing selected to copy");
        return;
    }
    QApplication::clipboard()->setText(text);
}

void CMainFrame::showPreferences()
{
    CPreferencesDlg dialog(preferencesOf(app_.config), this);
    dialog.testLink = [this](const std::string& address) { dispatcher_->requestTestLink(address); };
    connect(signals_, &FrameSignals::jobEnded, &dialog, [this, &dialog](const JobOutcome& outcome) {
        // The job's last status line says why a unit did not answer.
        const std::string statusText = dispatcher_->statusText();
        if (const auto* r = outcome.as<ConnectResult>())
            dialog.showLinkTest(QString::fromStdString(linkTestText(r->code, r->versions, statusText)));
    });
    dialog.apply = [this](const Preferences& chosen, std::string& error) {
        return applyPreferences(app_.config, chosen, error);
    };
    const bool accepted = dialog.exec() == QDialog::Accepted;
    // A link test may have pointed the link at the typed address (and closed
    // it after): the next connect uses the stored one.
    if (app_.worker)
        app_.worker->setLinkAddress(app_.config.linkAddress);
    if (!accepted)
        return;
    if (ConfigStore* store = app_.configStore()) {
        std::string error;
        if (!app_.config.save(*store, error))
            notice(kProgramName, "The preferences could not be stored: " + error);
    }
    app_.listSavedDives();
    rebuildSavedLogs();
    static_cast<CViewUnit*>(views_[VIEW_UNIT])->refreshFirmwareList();
}

void CMainFrame::enterServiceCode()
{
    ravo::enterServiceCode(
        app_.config.serviceUnlocked,
        [this](std::string& entered) {
            CSettingsDlg dialog(this);
            if (dialog.exec() != QDialog::Accepted)
                return false;
            entered = dialog.enteredText();
            return true;
        },
        app_.manifest ? app_.manifest->encipheredCode() : std::string());
}

void CMainFrame::restoreLayout()
{
    // Until a placement is stored: most of the screen, so the settings list
    // shows its set-up rows without scrolling.
    const QRect available = screen() ? screen()->availableGeometry() : QRect(0, 0, 940, 640);
    const WindowSize size = defaultWindowSize(available.width(), available.height());
    resize(size.width, size.height);
    ConfigStore* store = app_.configStore();
    if (!store)
        return;
    WindowPlacement placement;
    if (parseWindowPos(store->readText(kLayoutSection, kWindowPosEntry, ""), placement)) {
        const int width = placement.right - placement.left;
        const int height = placement.bottom - placement.top;
        if (width > 0 && height > 0)
            setGeometry(placement.left, placement.top, width, height);
        // Maximised only once shown, so the window keeps the normal rectangle
        // to come back to.
        reopenMaximized_ = placement.maximized();
    }
}

void CMainFrame::saveLayout()
{
    ConfigStore* store = app_.configStore();
    if (!store)
        return;
    store->writeText(kBarStateSection, kBarStateEntry, saveState().toHex().toStdString());
    store->writeInt(kBarStateSection, kStatusBarEntry, statusBar()->isVisibleTo(this) ? 1 : 0);
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    WindowPlacement placement = closingPlacement(normal.x(), normal.y(), normal.width(), normal.height(),
                                                 isMaximized(), isMinimized());
    store->writeText(kLayoutSection, kWindowPosEntry, formatWindowPos(placement));
    const QList<int> sizes = splitter_->sizes();
    saveSplitterWidths(*store, sizes.value(0, -1), sizes.value(1, -1));
}

}  // namespace ravo::desktop
