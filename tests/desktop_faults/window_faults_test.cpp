// The faults users saw in the main window, each through the window against
// ravo-unit-sim in a process of its own (offscreen, controls found by their
// accessible names): stale buttons and progress during and after a job, a
// bootloader hint for a unit that is not in its bootloader, a link that did
// not recover, "ONLINE" for a unit that was gone, a close during an update,
// and zeros for values not read.
#include <QLabel>
#include <csignal>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <nlohmann/json.hpp>

#include "desktop/controls/unit_log_list_ctrl.h"
#include "desktop/quit_signals.h"
#include "desktop/views/view_unit.h"
#include "desktop/views/view_unit_dive.h"
#include "divedata/sample_csv.h"
#include "divedata/saved_logs.h"
#include "link/c_format.h"
#include "link/clock.h"
#include "sim/sim_firmware_image.h"
#include "support/sim_process.h"
#include "support_desktop/modal_helpers.h"
#include "tests/desktop_shell/shell_fixture.h"

namespace ravo::test {
namespace {

const char kContinuation[] = "The unit waits in its bootloader: type BL in the unit number box";

class WindowFaults : public ShellTest {
protected:
    void TearDown() override
    {
        frame.reset();
        if (app)
            app->worker->setClock(nullptr);
    }

    // ravo-unit-sim with `args`, on `port` (0 picks one), unreachable for
    // `restartMs` on a restart; the link address.
    std::string startSim(std::vector<std::string> args, int port = 0, int restartMs = 100)
    {
        args.insert(args.end(), {"--port", std::to_string(port), "--restart-ms", std::to_string(restartMs)});
        sim = std::make_unique<SimProcess>(RAVO_SIM_PATH, args);
        const std::string address = sim->readLine();
        EXPECT_EQ(address.rfind("tcp:127.0.0.1:", 0), 0u) << address;
        simPort = std::atoi(address.c_str() + address.rfind(':') + 1);
        return address;
    }
    nlohmann::json dump()
    {
        sim->writeLine("dump");
        return nlohmann::json::parse(sim->readUntil("\n}\n"), nullptr, false);
    }

    // Short timers: "ONLINE" looked at every 20 ms and lit for 300 ms after
    // the unit's last answer; a unit not back after an update tried again
    // after 100 ms.
    static FramePeriods shortPeriods()
    {
        FramePeriods periods;
        periods.onlineMs = 20;
        periods.onlinePeriodMs = 300;
        periods.rereadMs = 100;
        return periods;
    }
    void openWindow(const std::string& address)
    {
        startApp(address);
        app->config.firmwareFolder = dir.file("firmware");
        openFrame(shortPeriods());
    }

    desktop::CViewUnit* unitView() const { return dynamic_cast<desktop::CViewUnit*>(frame->view(VIEW_UNIT)); }
    desktop::CViewUnitDive* diveView() const
    {
        return dynamic_cast<desktop::CViewUnitDive*>(frame->view(VIEW_UNIT_DIVE));
    }
    // A control of `view` by its accessible name, shown or not.
    template <typename T = QWidget>
    T* in(QWidget* view, const QString& name) const
    {
        return firstAnswering<T>(view->findChildren<T*>(), name);
    }
    QString value(const QString& name) const { return in<QLabel>(unitView(), name)->text(); }

    void readInfo(const QString& unitText)
    {
        ASSERT_TRUE(clickNode({"Ravo unit"}));
        auto* box = in<QLineEdit>(unitView(), "Unit number");
        box->setText(unitText);
        QTest::mouseClick(in<QPushButton>(unitView(), "Read Info"), Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] { return !jobRunning(); }, 20000));
        // The worker's thread is done with the link too (a test may give it
        // another clock next); its own lock shows that to ThreadSanitizer.
        ASSERT_TRUE(app->worker->waitFinished(20000));
    }

    // The long dive's download started from its row in the unit's dive list.
    void startLongDownload()
    {
        readInfo("1234");
        ASSERT_TRUE(clickNode({"Ravo unit", "1234", "Dive log"}));
        desktop::CUnitLogListCtrl* list = diveView()->list();
        ASSERT_TRUE(waitFor([&] { return !jobRunning() && list->rowCount() >= 1; }, 20000));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                           list->visualRect(list->model()->index(0, 0)).center());
        ASSERT_TRUE(jobRunning());
        ASSERT_TRUE(waitFor([&] { return diveView()->progressBar()->value() >= 500; }, 20000));
    }

    std::string writeFirmware(uint16_t version, int chunks)
    {
        const std::string path = app->config.firmwareFolder + "/RAVO_" + formatC("%04X", unsigned(version)) + ".enc";
        std::string error;
        EXPECT_TRUE(sim::writeTestFirmware(path, version, chunks, 512, error)) << error;
        // The list is filled when the unit view is shown.
        clickNode({"Dive log"});
        clickNode({"Ravo unit"});
        return path;
    }

    std::unique_ptr<SimProcess> sim;
    int simPort = 0;
};

// Faults 1 to 3: during a download every view shows the job's state at once,
// "Cancel" in the unit view stops it, the firmware bar never shows a dive's
// records, and the next download starts from nothing.
TEST_F(WindowFaults, AllViewsFollowTheRunningDownloadAndTheNextStartsAfresh)
{
    openWindow(startSim({"--preset", "long-dive", "--timing", "--baud", "115200"}));
    startLongDownload();
    QPushButton* selected = in<QPushButton>(diveView(), "Download selected");
    QPushButton* fresh = in<QPushButton>(diveView(), "Download new");
    EXPECT_FALSE(selected->isEnabled());
    EXPECT_FALSE(fresh->isEnabled());

    // Fault 1: the unit view, shown now, is current at once.
    ASSERT_TRUE(clickNode({"Ravo unit", "1234"}));
    ASSERT_EQ(frame->viewShowing(), VIEW_UNIT);
    EXPECT_FALSE(named<QPushButton>("Read Info")->isEnabled());
    EXPECT_FALSE(named<QPushButton>("FW Download")->isEnabled());
    EXPECT_FALSE(named<QPushButton>("PowerDown")->isEnabled());
    auto* cancel = named<QPushButton>("Cancel");
    ASSERT_NE(cancel, nullptr);
    EXPECT_TRUE(cancel->isEnabled());
    // Fault 2: the firmware bar stays out of a dive download.
    QProgressBar* firmwareBar = in<QProgressBar>(unitView(), "Progress");
    EXPECT_FALSE(firmwareBar->isVisible());

    const int recordsBefore = diveView()->progressBar()->value();
    QTest::mouseClick(cancel, Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return !jobRunning(); }, 20000));
    const int stoppedAt = diveView()->progressBar()->value();
    EXPECT_GE(stoppedAt, recordsBefore);
    EXPECT_LT(app->worker->lastOutcome().code(), 0) << "stopped: the dive is incomplete";
    EXPECT_TRUE(named<QPushButton>("Read Info")->isEnabled());
    EXPECT_FALSE(cancel->isEnabled());
    EXPECT_FALSE(firmwareBar->isVisible()) << "no job: no firmware progress either";
    EXPECT_TRUE(selected->isEnabled());
    EXPECT_TRUE(fresh->isEnabled());

    // Fault 3: "Download new" fetches the incomplete dive again, its bar
    // empty until the new job reports.
    ASSERT_TRUE(clickNode({"Ravo unit", "1234", "Dive log"}));
    QTest::mouseClick(fresh, Qt::LeftButton);
    ASSERT_TRUE(jobRunning());
    EXPECT_FALSE(diveView()->progressBar()->isVisible()) << "nothing of the last download";
    ASSERT_TRUE(waitFor([&] { return diveView()->progressBar()->isVisible(); }, 20000));
    EXPECT_LT(diveView()->progressBar()->value(), stoppedAt);
    frame->requests().requestStop();
    ASSERT_TRUE(waitFor([&] { return !jobRunning(); }, 20000));
}

// Fault 4: "BL" for a unit that runs its firmware. Its firmware ignores the
// chunks; nothing tells the window the unit is in its bootloader, so it does
// not say so.
TEST_F(WindowFaults, NoBootloaderHintForAUnitThatIsNotInItsBootloader)
{
    openWindow(startSim({"--preset", "default"}));
    ScaledClock fast(40.0);  // each unanswered chunk waits out 2 s of link time
    app->worker->setClock(&fast);
    readInfo("1234");
    writeFirmware(0x4A01, 2);
    unitView()->confirmDownload = [](const QString&) { return true; };
    in<QLineEdit>(unitView(), "Unit number")->setText("bl");
    QTest::mouseClick(named<QPushButton>("FW Download"), Qt::LeftButton);
    ASSERT_TRUE(jobRunning());
    ASSERT_TRUE(waitFor([&] { return !jobRunning(); }, 20000));
    const QString result = in<QLabel>(unitView(), "Result")->text();
    EXPECT_EQ(result.indexOf("bootloader"), -1) << result.toStdString();
    EXPECT_EQ(dump()["inBootloader"], false);
}

// Faults 5 and 6: the simulator stopped and started again on its port. The
// link notices, "ONLINE" goes dark within its period, and the next Read Info
// reads the unit at the first try. A wrong unit number never lights it.
TEST_F(WindowFaults, TheLinkRecoversAndOnlineMeansTheUnitAnswered)
{
    openWindow(startSim({"--preset", "default"}));
    readInfo("1234");
    EXPECT_EQ(value("Voltage"), "3.950 V");
    EXPECT_EQ(frame->onlineText(), "ONLINE");

    ASSERT_EQ(sim->stop(), 0);
    ASSERT_TRUE(waitFor([&] { return frame->onlineText().isEmpty(); }, 2000)) << "dark within the online period";
    startSim({"--preset", "default"}, simPort);

    readInfo("1234");
    EXPECT_EQ(status(), "Voltage OK (3.95)") << "read at the first try";
    EXPECT_EQ(value("Software"), "ver 49b25");
    EXPECT_EQ(frame->onlineText(), "ONLINE");

    ScaledClock fast(40.0);  // the unanswered request waits out its 2.5 s of link time
    app->worker->setClock(&fast);
    readInfo("4321");
    EXPECT_EQ(status(), "No responce from unit. Please, check unit nr.");
    EXPECT_TRUE(frame->onlineText().isEmpty()) << "the socket is there, the unit did not answer";
    EXPECT_NE(in<QLabel>(unitView(), "Result")->text().indexOf("Link lost: unit 4321 did not answer"), -1);
    // Fault 8: what was not read shows "--", not the zeros of a dead battery.
    EXPECT_EQ(value("Voltage"), "--");
    EXPECT_EQ(value("Software"), "--");
    EXPECT_EQ(value("HUD"), "--");
}

// Faults 7 and 8: a close during an update asks; the user insists, the
// update stops at a chunk, the window says how to finish, and closes. The
// next start says where the unit waits; BL finishes the update, and the unit
// is read again by itself.
TEST_F(WindowFaults, ClosingDuringAnUpdateAsksStopsAndTheNextStartFinishesIt)
{
    // The unit restarts at once. Its pauses run fast; the waits for its
    // answers keep their real length, so a busy machine cannot make them
    // expire.
    openWindow(startSim({"--preset", "default", "--timing", "--baud", "38400"}, 0, 0));
    PatientClock fast(20.0);
    app->worker->setClock(&fast);
    readInfo("1234");
    const std::string path = writeFirmware(0x4A02, 6);
    std::string question;
    unitView()->confirmDownload = [&](const QString& text) {
        question = text.toStdString();
        return true;
    };
    QTest::mouseClick(named<QPushButton>("FW Download"), Qt::LeftButton);
    EXPECT_NE(question.find("Send the firmware file RAVO_4A02.enc to unit 1234?"), std::string::npos) << question;
    EXPECT_NE(question.find("The unit runs software ver 49b25."), std::string::npos) << question;
    QProgressBar* bar = in<QProgressBar>(unitView(), "Progress");
    ASSERT_TRUE(waitFor([&] { return bar->isVisible() && bar->value() > 0; }, 20000));

    // "No": the update goes on.
    onNextModal([](QWidget* box) { clickButton(box, "&No"); });
    frame->close();
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(jobRunning());

    std::string notice;
    onNextModal([&](QWidget* box) {
        onNextModal([&](QWidget* told) {
            notice = static_cast<QMessageBox*>(told)->text().toStdString();
            clickButton(told, "OK");
        });
        clickButton(box, "&Yes");
    });
    frame->close();
    ASSERT_TRUE(waitFor([&] { return !frame->isVisible(); }, 20000));
    EXPECT_NE(notice.find("start Ravo_Config again, type BL in the unit number box and press FW Download"),
              std::string::npos)
        << notice;
    EXPECT_TRUE(app->worker->lastOutcome().code() < 0);
    EXPECT_EQ(dump()["inBootloader"], true);

    // The next start: the store remembers.
    frame.reset();
    openFrame(shortPeriods());
    readInfo("1234");
    EXPECT_EQ(status(), "No responce from unit. Please, check unit nr.");
    EXPECT_NE(in<QLabel>(unitView(), "Result")->text().indexOf(kContinuation), -1);
    EXPECT_EQ(value("Software"), "--");

    unitView()->confirmDownload = [](const QString&) { return true; };
    writeFirmware(0x4A02, 6);
    in<QLineEdit>(unitView(), "Unit number")->setText("BL");
    QTest::mouseClick(named<QPushButton>("FW Download"), Qt::LeftButton);
    EXPECT_EQ(status(), "Firmware download BL [" + path + "]");
    // Done, then read again by itself: the new version shows without a press.
    ASSERT_TRUE(waitFor([&] { return !jobRunning() && value("Software") == "ver 4Ab02"; }, 30000))
        << value("Software").toStdString() << " " << status();
    EXPECT_EQ(app->worker->lastOutcome().kind, JobKind::ReadInfo);
    EXPECT_EQ(dump()["inBootloader"], false);
    EXPECT_EQ(in<QLabel>(unitView(), "Result")->text().indexOf("bootloader"), -1);
}

// Told to quit by the system (log-out, shutdown, SIGTERM) during a download:
// the job stops at a block, what arrived is saved marked partial, and the
// window closes without a question.
TEST_F(WindowFaults, AQuitDuringADownloadKeepsWhatArrived)
{
    openWindow(startSim({"--preset", "long-dive", "--timing", "--baud", "115200"}));
    startLongDownload();
    int questions = 0;
    onNextModal([&](QWidget* box) {
        ++questions;
        clickButton(box, "&No");
    });
    desktop::QuitSignals quit([this] { frame->quitRequested(); });
    ASSERT_EQ(std::raise(SIGTERM), 0);
    ASSERT_TRUE(waitFor([&] { return !frame->isVisible(); }, 20000));
    EXPECT_EQ(questions, 0);
    EXPECT_FALSE(jobRunning());
    ASSERT_EQ(app->savedDiveNames.size(), 1u);
    EXPECT_TRUE(SavedDiveLogIsPartial(app->config.diveFolder, app->savedDiveNames[0]));
    std::vector<CDiveDataRecord> samples;
    ASSERT_EQ(ReadSamplesCsv(app->config.diveFolder + "/" + app->savedDiveNames[0] + ".csv", samples), 0);
    EXPECT_GE(samples.size(), 500u);
    EXPECT_LT(samples.size(), 12000u);
}

// The event loop ends under a running download (the session ends it): the
// job is stopped and waited for, and its last events are handled, so the log
// is saved though no event loop runs any more.
TEST_F(WindowFaults, AnEventLoopEndingUnderADownloadStillSavesWhatArrived)
{
    openWindow(startSim({"--preset", "long-dive", "--timing", "--baud", "115200"}));
    startLongDownload();
    frame->finishBeforeQuit();
    EXPECT_FALSE(app->worker->running());
    EXPECT_FALSE(jobRunning()) << "the job's end was handled";
    ASSERT_EQ(app->savedDiveNames.size(), 1u);
    EXPECT_TRUE(SavedDiveLogIsPartial(app->config.diveFolder, app->savedDiveNames[0]));
}

}  // namespace
}  // namespace ravo::test
