#pragma once
#include <memory>
#include <string>
#include <vector>

#include "app/config_store.h"
#include "app/ravo_config_app.h"
#include "desktop/view_pane.h"
#include "divedata/dive_info.h"
#include "link/messages.h"
#include "support/temp_dir.h"

namespace ravo::test {

// Stands in for the main window: keeps the requests the views send.
class RequestFrame : public MessageReceiver {
public:
    struct Request {
        unsigned message;
        std::vector<CDiveInfo> entries;
    };
    intptr_t sendMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;

    std::vector<Request> requests;
};

// A started application of its own: configuration in memory, the dive folder
// and the log in a fresh folder, the simulated unit behind the link.
class ViewFixture {
public:
    ViewFixture();
    ~ViewFixture();

    desktop::ViewContext context() { return {app, frame}; }
    std::string diveFolder() const { return home.file("dive"); }

    TempDir home;
    CRavo_ConfigApp app;
    RequestFrame frame;
};

}  // namespace ravo::test
