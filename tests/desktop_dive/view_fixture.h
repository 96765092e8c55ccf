#pragma once
#include <memory>
#include <string>
#include <vector>

#include "app/config_store.h"
#include "app/frame_ports.h"
#include "app/frame_state.h"
#include "app/ravo_config_app.h"
#include "desktop/frame_signals.h"
#include "desktop/view_pane.h"
#include "divedata/dive_info.h"
#include "support/temp_dir.h"

namespace ravo::test {

// Stands in for the main window: keeps the requests the views make.
class RequestFrame : public FrameRequests {
public:
    struct Request {
        LogKind kind;
        std::vector<CDiveInfo> entries;
    };
    void treeSelected(const TreeLabels&) override {}
    void requestReadInfo() override {}
    void requestFirmware(const std::string&) override {}
    void requestLogs(LogKind kind, const std::vector<CDiveInfo>& entries) override
    {
        requests.push_back({kind, entries});
    }
    void requestFixSerial() override {}
    void requestEditRow(const EditRowRequest&) override {}
    void requestRestore(const RestoreRequest&) override {}
    void requestPowerDown() override {}
    void requestTestLink(const std::string&) override {}
    void requestStop() override { ++stops; }
    void showStatus(const std::string& text) override { statuses.push_back(text); }

    std::vector<Request> requests;
    std::vector<std::string> statuses;
    int stops = 0;
};

// A started application of its own: configuration in memory, the dive folder
// and the log in a fresh folder, the simulated unit behind the link; the
// frame's state the views follow, changed by the test.
class ViewFixture {
public:
    ViewFixture();
    ~ViewFixture();

    desktop::ViewContext context() { return {app, frame, state, changes}; }
    std::string diveFolder() const { return home.file("dive"); }
    // Tells the views that the state changed, as the window does.
    void jobChanged() { emit changes.jobChanged(); }
    void directoryChanged() { emit changes.directoryChanged(); }

    TempDir home;
    CRavo_ConfigApp app;
    RequestFrame frame;
    FrameState state;
    desktop::FrameSignals changes;
};

}  // namespace ravo::test
