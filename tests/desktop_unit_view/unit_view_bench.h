#pragma once
#include <QApplication>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ravo_config_app.h"
#include "desktop/views/view_unit.h"
#include "link/clock.h"
#include "sim/sim_unit.h"
#include "support/recording_receiver.h"
#include "support/temp_dir.h"

class QTreeWidgetItem;

namespace ravo::test {

// Stands in for the main window: starts the jobs the view asks for (with
// link preparation, as the window does) and records the other requests.
class TestFrame : public MessageReceiver {
public:
    explicit TestFrame(CRavo_ConfigApp& app) : app_(app) {}
    intptr_t sendMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;

    std::vector<unsigned> requests;
    std::vector<std::string> statusTexts;
    int firmwareJob = 0;
    uint16_t firmwareUnit = 0;
    std::string firmwarePath;
    // Firmware requests start the job only when set.
    bool startFirmware = false;
    // The user presses "Cancel" when the first progress arrives.
    bool cancelAtFirstProgress = false;
    RecordingReceiver workerMessages;

private:
    // The worker's messages: recorded, and the cancel above.
    class WorkerReceiver : public MessageReceiver {
    public:
        explicit WorkerReceiver(TestFrame& frame) : frame_(frame) {}
        intptr_t sendMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;

    private:
        TestFrame& frame_;
    };
    void start(int job, bool prepareLink = true);
    WorkerReceiver receiver_{*this};
    CRavo_ConfigApp& app_;
};

// A started application whose link reaches a simulated unit in this process,
// and the unit view on it.
struct UnitViewBench {
    explicit UnitViewBench(const std::string& preset = "fw4925", const std::string& unitText = "1234");
    ~UnitViewBench();

    // Waits for the job the view started, then refreshes the view as the
    // main window's poll does.
    void finishJob();
    void readInfo();
    QWidget* control(const QString& accessibleName) const;
    // The settings list's row named `name`, or null.
    QTreeWidgetItem* row(const QString& name) const;
    int rowCount() const;
    void doubleClickRow(const QString& name);

    TempDir home;
    ScaledClock clock{40.0};
    CRavo_ConfigApp app;
    std::shared_ptr<sim::SimUnit> unit;
    std::unique_ptr<TestFrame> frame;
    std::unique_ptr<desktop::CViewUnit> view;
};

// Acts on the next modal dialog or message box once it shows (polling the
// event loop, so it works inside nested waits). `act` gets the dialog.
void onNextModal(std::function<void(QWidget* dialog)> act);
// The text of every label in `dialog`, one per line.
std::string labelTexts(QWidget* dialog);
// Clicks the button named `name` in `dialog`.
void clickButton(QWidget* dialog, const QString& name);
// Types into the line edit named `name` in `dialog`, replacing its text.
void typeInto(QWidget* dialog, const QString& name, const QString& text);

}  // namespace ravo::test
