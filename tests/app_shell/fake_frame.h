#pragma once
#include <map>
#include <string>
#include <vector>

#include "app/frame_ports.h"
#include "jobs/job_results.h"

namespace ravo::test {

// The window and timers of the dispatcher, recorded.
struct FakeFrame : FrameWindow, FrameTimers {
    void showView(FrameView view) override { showing = view; }
    FrameView viewShowing() const override { return showing; }
    void showStatusText(const std::string& text) override { statusTexts.push_back(text); }
    void showOnline(bool on) override { online = on; }
    void selectionToView(const TreeLabels& labels) override { selections.push_back(labels.nodeLabel); }
    void stateChanged(FrameChange change) override { changes.push_back(change); }
    void jobEnded(const JobOutcome& outcome) override { ended.push_back(outcome.kind); }
    void addUnitToTree(const std::string& unit) override { units.push_back(unit); }
    void rebuildSavedLogs() override { ++rebuilds; }
    bool chooseRedboxPath(const std::string& proposed, std::string& chosen) override
    {
        chosen = proposed;
        return true;
    }
    void showFileErrors(const FileMessages& messages) override { errors = messages; }
    bool confirm(const std::string&, const std::string& text) override
    {
        questions.push_back(text);
        return answerYes;
    }
    void notice(const std::string&, const std::string& text) override { notices.push_back(text); }
    void closeWindow() override { closed = true; }

    void startFrameTimer(FrameTimer id, uint32_t ms) override { running[id] = ms; }
    void stopFrameTimer(FrameTimer id) override { running.erase(id); }
    bool timerRunning(FrameTimer id) const { return running.count(id) > 0; }

    FrameView showing = VIEW_UNIT_REDBOX;
    std::vector<std::string> statusTexts;
    std::vector<std::string> selections;
    std::vector<FrameChange> changes;
    std::vector<JobKind> ended;
    std::vector<std::string> units;
    std::vector<std::string> questions;
    std::vector<std::string> notices;
    FileMessages errors;
    std::map<FrameTimer, uint32_t> running;
    int rebuilds = 0;
    bool online = false;
    bool answerYes = true;
    bool closed = false;
};

}  // namespace ravo::test
