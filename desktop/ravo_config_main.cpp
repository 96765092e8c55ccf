// ravo-config, the desktop program: start-up, the main window, shutdown.
#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QSessionManager>
#include <QTimer>
#include <cstdio>

#include "app/ravo_config_app.h"
#include "desktop/display_check.h"
#include "desktop/main_frame.h"
#include "desktop/program_icon.h"
#include "desktop/quit_signals.h"
#include "desktop/update_check_runner.h"
#include "ravo_version.h"
#include "sim/sim_registration.h"

namespace {

bool quietToolkit = false;

// While the toolkit looks for a display, its complaints about the one it
// could not reach are not for the user: the program says it in one line.
void toolkitMessages(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (quietToolkit && type != QtFatalMsg)
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

struct Options {
    QString link;
    bool quitAfterPaint = false;
    bool noUpdateCheck = false;
};

Options parseOptions(const QApplication& qapp)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(RAVO_BANNER ": configures a Ravo rebreather unit over its infrared link.");
    parser.addHelpOption();
    QCommandLineOption link("link", "Link address for this run (not saved): tcp:HOST:PORT, serial:DEVICE, irda, sim",
                            "ADDRESS");
    QCommandLineOption quit("quit-after-paint", "Print the start-up time and end once the window is painted.");
    QCommandLineOption noCheck("no-update-check", "Skip the update check at start-up.");
    parser.addOptions({link, quit, noCheck});
    parser.process(qapp);
    return {parser.value(link), parser.isSet(quit), parser.isSet(noCheck)};
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace ravo;
    using namespace ravo::desktop;

    std::string why;
    if (!prepareDisplay(why)) {
        std::fprintf(stderr, "%s\n", noDisplayMessage(why).c_str());
        return 1;
    }
    // Before the application object: its default link address is the
    // simulated unit only when that is known.
    sim::registerSimTransport();
    CRavo_ConfigApp app;
    qInstallMessageHandler(toolkitMessages);
    quietToolkit = true;
    QApplication qapp(argc, argv);
    quietToolkit = false;
    if (displayUnusable(QGuiApplication::platformName().toStdString())) {
        std::fprintf(stderr, "%s\n", noDisplayMessage("the display could not be opened").c_str());
        return 1;
    }
    QApplication::setWindowIcon(programIcon());
    const Options options = parseOptions(qapp);

    std::string error;
    if (!app.startUp(nullptr, error)) {
        QMessageBox::critical(nullptr, kProgramName, QString::fromStdString(error));
        return 1;
    }
    for (const std::string& warning : app.config.loadWarnings)
        std::fprintf(stderr, "%s\n", warning.c_str());
    if (!options.link.isEmpty())
        app.worker->setLinkAddress(options.link.toStdString());

    int result = 0;
    {
        CMainFrame frame(app);
        UpdateCheckRunner updateCheck(app, &frame);
        // Told to end by the system: what a running download brought is kept.
        QuitSignals quitSignals([&frame] { frame.quitRequested(); });
        // The session ends: a running job stops, what it brought is kept.
        QObject::connect(&qapp, &QGuiApplication::commitDataRequest, &frame, [&frame](QSessionManager&) {
            if (frame.dispatcher().busy())
                frame.quitRequested();
        });
        QObject::connect(&qapp, &QCoreApplication::aboutToQuit, &frame, [&] {
            updateCheck.abandon();
            frame.finishBeforeQuit();
        });
        // The update check only once the window is on the screen.
        QObject::connect(&frame, &CMainFrame::firstPainted, &frame, [&] {
            if (options.quitAfterPaint) {
                std::printf("painted\n");
                std::fflush(stdout);
                QTimer::singleShot(0, &frame, &CMainFrame::closeWindow);
            } else if (!options.noUpdateCheck && app.config.checkForUpdates) {
                QTimer::singleShot(0, &updateCheck, &UpdateCheckRunner::start);
            }
        });
        frame.show();
        result = qapp.exec();
    }
    // The window is gone: the reason goes where the program was started from.
    if (!app.shutDown())
        std::fprintf(stderr, "%s\n", app.configSaveError.c_str());
    return result;
}
