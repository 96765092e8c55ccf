#pragma once
#include <map>
#include <string>
#include <vector>

#include "app/frame_ports.h"

namespace ravo::test {

// The window and timers of the dispatcher, recorded; link waits run at once.
struct FakeFrame : FrameWindow, FrameTimers {
    void showView(FrameView view) override { showing = view; }
    FrameView viewShowing() const override { return showing; }
    void showStatusText(const std::string& text) override { statusTexts.push_back(text); }
    void showOnline(bool on) override { online = on; }
    intptr_t forwardToView(unsigned message, uintptr_t, intptr_t) override
    {
        forwarded.push_back(message);
        return 1;
    }
    void addUnitToTree(const std::string& unit) override { units.push_back(unit); }
    void rebuildSavedLogs() override { ++rebuilds; }
    bool chooseRedboxPath(const std::string& proposed, std::string& chosen) override
    {
        chosen = proposed;
        return true;
    }
    void showFileErrors(const FileMessages& messages) override { errors = messages; }
    bool waitOnLink(const std::function<void()>& work) override
    {
        ++linkWaits;
        work();
        return true;
    }
    bool linkWaitRunning() const override { return waitRunning; }
    void closeWindow() override { closed = true; }

    void startFrameTimer(FrameTimer id, uint32_t ms) override { running[id] = ms; }
    void stopFrameTimer(FrameTimer id) override { running.erase(id); }
    bool timerRunning(FrameTimer id) const { return running.count(id) > 0; }

    FrameView showing = VIEW_UNIT_REDBOX;
    std::vector<std::string> statusTexts;
    std::vector<unsigned> forwarded;
    std::vector<std::string> units;
    FileMessages errors;
    std::map<FrameTimer, uint32_t> running;
    int rebuilds = 0;
    int linkWaits = 0;
    bool online = false;
    bool waitRunning = false;
    bool closed = false;
};

}  // namespace ravo::test
