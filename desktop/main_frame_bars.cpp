// The main window's menus, tool bar and status bar, and its stored layout.
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "app/file_menu_rules.h"
#include "app/window_layout.h"
#include "desktop/dialogs/about_dlg.h"
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

// The desktop theme's icon where there is one, else a standard one of the style.
QAction* toolAction(QToolBar* bar, QAction* source, const char* themeIcon, QStyle::StandardPixmap pixmap)
{
    const QIcon icon = QIcon::fromTheme(themeIcon, bar->style()->standardIcon(pixmap));
    auto* action = new QAction(icon, QString(source->text()).remove('&').remove("..."), bar);
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
    QMenu* file = menuBar()->addMenu("&File");
    QAction* newAction = addEntry(file, "&New", QKeySequence::New);
    QAction* openAction = addEntry(file, "&Open...", QKeySequence::Open);
    QAction* saveAction = addEntry(file, "&Save", QKeySequence::Save);
    addEntry(file, "Save &As...");
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
    addEntry(file, "Recent File");
    file->addSeparator();
    QAction* exitAction = addEntry(file, "E&xit", {}, true);
    connect(exitAction, &QAction::triggered, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu("&Edit");
    QAction* undoAction = addEntry(edit, "&Undo", QKeySequence::Undo);
    edit->addSeparator();
    QAction* cutAction = addEntry(edit, "Cu&t", QKeySequence::Cut);
    QAction* copyAction = addEntry(edit, "&Copy", QKeySequence::Copy);
    QAction* pasteAction = addEntry(edit, "&Paste", QKeySequence::Paste);
    undoAction->setShortcuts({QKeySequence::Undo, QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    cutAction->setShortcuts({QKeySequence::Cut, QKeySequence(Qt::SHIFT | Qt::Key_Delete)});
    copyAction->setShortcuts({QKeySequence::Copy, QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    pasteAction->setShortcuts({QKeySequence::Paste, QKeySequence(Qt::SHIFT | Qt::Key_Insert)});

    QMenu* help = menuBar()->addMenu("&Help");
    QAction* aboutAction = addEntry(help, "&About Ravo_Config...", {}, true);
    connect(aboutAction, &QAction::triggered, this, &CMainFrame::showAbout);
    QAction* settingsAction = addEntry(help, "Settings", {}, true);
    connect(settingsAction, &QAction::triggered, this, &CMainFrame::enterServiceCode);

    auto* tools = new QToolBar("Standard", this);
    tools->setObjectName("Standard");
    tools->setIconSize(QSize(16, 15));
    toolAction(tools, newAction, "document-new", QStyle::SP_FileIcon);
    toolAction(tools, openAction, "document-open", QStyle::SP_DialogOpenButton);
    toolAction(tools, saveAction, "document-save", QStyle::SP_DialogSaveButton);
    tools->addSeparator();
    toolAction(tools, cutAction, "edit-cut", QStyle::SP_DialogDiscardButton);
    toolAction(tools, copyAction, "edit-copy", QStyle::SP_FileDialogDetailedView);
    toolAction(tools, pasteAction, "edit-paste", QStyle::SP_FileDialogListView);
    tools->addSeparator();
    toolAction(tools, printAction, "document-print", QStyle::SP_DriveFDIcon);
    toolAction(tools, aboutAction, "help-about", QStyle::SP_MessageBoxQuestion);
    addToolBar(Qt::TopToolBarArea, tools);
    if (ConfigStore* store = app_.configStore())
        restoreState(QByteArray::fromHex(QByteArray::fromStdString(store->readText(kBarStateSection, kBarStateEntry, ""))));

    // The View menu comes after the bars it shows and hides; it stands before Help.
    QMenu* view = new QMenu("&View", this);
    menuBar()->insertMenu(help->menuAction(), view);
    QAction* toolbarToggle = tools->toggleViewAction();
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
    connect(pdf, &QAction::triggered, this, [this, pages] {
        if (auto* dive = qobject_cast<CViewDive*>(views_[VIEW_DIVE]))
            report_->exportPdf(pages(), dive->proposedExportPath("pdf"));
    });
    file->addSeparator();
    QAction* print = addEntry(file, "&Print...", QKeySequence::Print);
    connect(print, &QAction::triggered, this, [this, pages] { report_->print(pages()); });
    QAction* preview = addEntry(file, "Print Pre&view");
    connect(preview, &QAction::triggered, this, [this, pages] {
        const std::vector<DiveReportPage> shown = pages();
        if (!shown.empty())
            report_->preview(shown);
    });
    QAction* setup = addEntry(file, "P&rint Setup...", {}, true);
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
