#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include "desktop/dialogs/about_dlg.h"
#include "desktop/dialogs/link_button.h"
#include "desktop/dialogs/preferences_dlg.h"
#include "desktop/dialogs/settings_dlg.h"
#include "desktop/dialogs/software_upgrade_dlg.h"
#include "desktop/program_icon.h"
#include "desktop/update_check_runner.h"
#include "firmware/file_util.h"
#include "shell_fixture.h"
#include "support/http_server.h"

namespace ravo::test {
namespace {

template <typename T = QWidget>
T* namedIn(QWidget* parent, const QString& name)
{
    for (T* widget : parent->findChildren<T*>())
        if (widget->accessibleName() == name)
            return widget;
    return nullptr;
}

// Runs `act` on the modal dialog of type D once it shows (polled by a timer,
// so nothing here waits under the dialog's own event loop).
template <typename D>
void whenShown(const std::function<void(D*)>& act)
{
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(dialog);
        }
    });
    poll->start();
}

QAction* menuEntry(QMainWindow& window, const QString& menu, const QString& entry)
{
    for (QAction* top : window.menuBar()->actions())
        if (top->text() == menu)
            for (QAction* action : top->menu()->actions())
                if (action->text() == entry)
                    return action;
    return nullptr;
}

class Dialogs : public ShellTest {
protected:
    void TearDown() override { desktop::LinkButton::setOpenAction({}); }
};

TEST_F(Dialogs, AboutBoxNamesTheVersionAndOpensOnlyItsLinks)
{
    startApp();
    openFrame();
    QStringList opened;
    desktop::LinkButton::setOpenAction([&](const QString& target) { opened << target; });
    QString name;
    QStringList tooltips;
    whenShown<desktop::CAboutDlg>([&](desktop::CAboutDlg* box) {
        name = namedIn<QLabel>(box, "Ravo_Config, v1.35") ? "found" : "";
        for (auto* link : box->findChildren<desktop::LinkButton*>()) {
            tooltips << link->toolTip();
            QTest::mouseClick(link, Qt::LeftButton);
        }
        QTest::mouseClick(namedIn<QPushButton>(box, "OK"), Qt::LeftButton);
    });
    QAction* about = menuEntry(*frame, "&Help", "&About Ravo_Config...");
    ASSERT_NE(about, nullptr);
    about->trigger();
    EXPECT_EQ(name, "found");
    EXPECT_FALSE(desktop::programIcon().pixmap(48, 48).isNull());
    EXPECT_EQ(tooltips.value(0), "Open Varnholm home page in a web browser");
    EXPECT_EQ(tooltips.value(2), "Open your email program and send email to our support");
    ASSERT_EQ(opened.size(), 3);
    EXPECT_TRUE(opened[0].startsWith("https://"));
    EXPECT_EQ(opened[2], "mailto:support@varnholm.example");

    opened.clear();
    desktop::LinkButton unsafe({"x", "", "file:///etc/passwd"});
    desktop::LinkButton empty({"y", "", ""});
    QTest::mouseClick(&unsafe, Qt::LeftButton);
    QTest::mouseClick(&empty, Qt::LeftButton);
    EXPECT_TRUE(opened.isEmpty());
}

// The folders are set in the window, with a folder picker, and stored at
// once; a bad entry is refused with its reason and changes nothing.
TEST_F(Dialogs, PreferencesStoreTheFoldersAndTheUpdateCheck)
{
    startApp();
    app->config.setUnitNumberText("1234");
    openFrame();
    QAction* preferences = menuEntry(*frame, "&Edit", "Pr&eferences...");
    ASSERT_NE(preferences, nullptr);
    const std::string picked = dir.file("picked dives");
    QString refusal, linkAnswer;
    whenShown<desktop::CPreferencesDlg>([&](desktop::CPreferencesDlg* dialog) {
        dialog->chooseFolder = [&](const QString& caption, const QString&) {
            return caption == "Dive folder" ? QString::fromStdString(picked) : QString();
        };
        QTest::mouseClick(namedIn<QPushButton>(dialog, "Browse Dive folder"), Qt::LeftButton);
        // The link is tried at the address typed, through the window's worker.
        QTest::mouseClick(namedIn<QPushButton>(dialog, "Test link"), Qt::LeftButton);
        for (int i = 0; i < 500 && !linkAnswer.startsWith("The unit answers"); ++i) {
            QTest::qWait(10);
            for (QLabel* label : dialog->findChildren<QLabel*>())
                if (label->accessibleName().startsWith("The unit answers") || label->accessibleName().startsWith("No answer"))
                    linkAnswer = label->accessibleName();
        }
        namedIn<QLineEdit>(dialog, "Firmware folder")->setText(QString::fromStdString(dir.file("fw")));
        namedIn<QLineEdit>(dialog, "Redbox folder")->clear();
        namedIn<QCheckBox>(dialog, "Check for a new version at start-up")->setChecked(false);
        QTest::mouseClick(namedIn<QPushButton>(dialog, "OK"), Qt::LeftButton);
        for (QLabel* label : dialog->findChildren<QLabel*>())
            if (label->isVisible() && label->accessibleName().startsWith("Redbox folder: "))
                refusal = label->accessibleName();
        namedIn<QLineEdit>(dialog, "Redbox folder")->setText(QString::fromStdString(dir.file("boxes")));
        QTest::mouseClick(namedIn<QPushButton>(dialog, "OK"), Qt::LeftButton);
    });
    preferences->trigger();
    EXPECT_TRUE(linkAnswer.startsWith("The unit answers: software ver ")) << linkAnswer.toStdString();
    EXPECT_EQ(refusal, "Redbox folder: A folder can not be empty");
    ConfigStore& store = *app->configStore();
    EXPECT_EQ(store.readText("KTLS", "DIVEFOLDER", ""), absolutePath(picked));
    EXPECT_EQ(store.readText("KTLS", "FWFOLDER", ""), absolutePath(dir.file("fw")));
    EXPECT_EQ(store.readText("KTLS", "REDBOXFOLDER", ""), absolutePath(dir.file("boxes")));
    EXPECT_EQ(store.readInt("KTLS", "UPDATECHECK", 1), 0);
    EXPECT_EQ(app->config.diveFolder, absolutePath(picked));
}

TEST_F(Dialogs, ServiceCodeUnlocksAndAnyReopeningLocksAgain)
{
    startApp();
    openFrame();
    // "AB" enciphered with the service key: 'A' + 'Q' - 32, 'B' + 'U' - 32.
    (*app->manifest)[UpdateManifest::kServiceCode] = "7277";
    QAction* settings = menuEntry(*frame, "&Tools", "&Service mode...");
    ASSERT_NE(settings, nullptr);

    whenShown<desktop::CSettingsDlg>([](desktop::CSettingsDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Settings");
        QTest::keyClicks(namedIn<QLineEdit>(dialog, "Enter code"), " AB\t");
        QTest::mouseClick(namedIn<QPushButton>(dialog, "OK"), Qt::LeftButton);
    });
    settings->trigger();
    EXPECT_TRUE(app->config.serviceUnlocked);

    whenShown<desktop::CSettingsDlg>([](desktop::CSettingsDlg* dialog) {
        QTest::keyClicks(namedIn<QLineEdit>(dialog, "Enter code"), "AB");
        QTest::mouseClick(namedIn<QPushButton>(dialog, "Cancel"), Qt::LeftButton);
    });
    settings->trigger();
    EXPECT_FALSE(app->config.serviceUnlocked);

    whenShown<desktop::CSettingsDlg>([](desktop::CSettingsDlg* dialog) {
        QTest::keyClicks(namedIn<QLineEdit>(dialog, "Enter code"), "ab");
        QTest::keyClick(namedIn<QLineEdit>(dialog, "Enter code"), Qt::Key_Return);
    });
    settings->trigger();
    EXPECT_FALSE(app->config.serviceUnlocked);
}

TEST_F(Dialogs, StartUpCheckShowsTheNoticeForANewerVersion)
{
    HttpServer server;
    HttpRoute manifest;
    manifest.body = "<ravo><ravo_config><win><file>https://updates.varnholm.example/new.exe</file>"
                    "<version><string>v1.36</string></version><cdata>7277</cdata></win></ravo_config></ravo>";
    server.route("/ravo_config.xml", manifest);
    startApp();
    app->config.updateUrl = server.url("/ravo_config.xml");
    openFrame();

    QStringList opened;
    desktop::LinkButton::setOpenAction([&](const QString& target) { opened << target; });
    QString caption;
    whenShown<desktop::CSoftwareUpgradeDlg>([&](desktop::CSoftwareUpgradeDlg* notice) {
        caption = notice->windowTitle();
        QTest::mouseClick(namedIn<QPushButton>(notice, "Download new software"), Qt::LeftButton);
        QTest::mouseClick(namedIn<QPushButton>(notice, "Continue"), Qt::LeftButton);
    });
    desktop::UpdateCheckRunner check(*app, frame.get());
    QSignalSpy finished(&check, &desktop::UpdateCheckRunner::finished);
    check.start();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_TRUE(finished.at(0).at(0).toBool());
    EXPECT_EQ(caption, "Ravo_Config - Software upgrade");
    EXPECT_EQ(opened, QStringList{"https://updates.varnholm.example/new.exe"});
    EXPECT_EQ(app->manifest->encipheredCode(), "7277");
}

TEST_F(Dialogs, NoNoticeForAnErrorPage)
{
    HttpServer server;  // every path answers 404 with a page
    startApp();
    app->config.updateUrl = server.url("/ravo_config.xml");
    openFrame();
    desktop::UpdateCheckRunner check(*app, frame.get());
    QSignalSpy finished(&check, &desktop::UpdateCheckRunner::finished);
    check.start();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_FALSE(finished.at(0).at(0).toBool());
    EXPECT_TRUE(app->manifest->encipheredCode().empty());
}

}  // namespace
}  // namespace ravo::test

namespace ravo::test {
namespace {

TEST_F(Dialogs, RedboxSaveDialogProposesThePathWithItsFilters)
{
    startApp();
    openFrame();
    QStringList filters;
    QString suffix;
    QStringList proposed;
    whenShown<QFileDialog>([&](QFileDialog* dialog) {
        filters = dialog->nameFilters();
        suffix = dialog->defaultSuffix();
        proposed = dialog->selectedFiles();
        dialog->reject();
    });
    std::string chosen = "untouched";
    const std::string path = dir.file("redbox/KTL_SN1234_2012-05-06_14-22-33_R.cvsr");
    CFileUtil::CreateFolder(dir.file("redbox"));
    EXPECT_FALSE(frame->chooseRedboxPath(path, chosen));
    EXPECT_EQ(chosen, "untouched");
    EXPECT_EQ(filters, (QStringList{"Redbox File (*.cvsr)", "All Files (*.*)"}));
    EXPECT_EQ(suffix, "cvsr");
    EXPECT_EQ(proposed.value(0).toStdString(), path);
}

TEST_F(Dialogs, RedboxDownloadGoesWhereTheUserChoseAndIsRemembered)
{
    startApp();
    openFrame();
    const std::string chosenPath = dir.file("elsewhere.cvsr");
    std::string offered;
    frame->setRedboxPathChooser([&](const std::string& proposed, std::string& chosen) {
        offered = proposed;
        chosen = chosenPath;
        return true;
    });
    CDiveInfo entry;
    entry.unitNumber = 0x1234;
    entry.index = 1;
    frame->requests().requestLogs(LogKind::Redbox, {entry});
    EXPECT_EQ(frame->dispatcher().statusText(), "Read redbox log from unit 1234 index 1");
    ASSERT_TRUE(waitFor([&] { return !jobRunning(); }));
    EXPECT_EQ(offered.rfind(dir.file("redbox/KTL_SN1234_"), 0), 0u) << offered;
    EXPECT_EQ(readFile(chosenPath).rfind("Ravo_Config v1.35\r\nHEADER:", 0), 0u);
    EXPECT_EQ(app->config.redboxFolder, chosenPath);
    EXPECT_TRUE(app->savedDiveNames.empty());  // a redbox log is no saved dive
}

}  // namespace
}  // namespace ravo::test
