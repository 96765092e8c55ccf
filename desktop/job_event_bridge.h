#pragma once
#include <QObject>
#include <string>

#include "desktop/job_metatypes.h"

namespace ravo::desktop {

// The one place that knows about threads: the worker's events become
// signals, each delivered queued on the bridge's (the UI) thread to the
// events `target` given to connectTo, in the order the job sent them. The
// worker never waits for the window.
class JobEventBridge : public QObject, public JobEvents {
    Q_OBJECT
public:
    explicit JobEventBridge(QObject* parent = nullptr);

    // Delivers `target` every event of this bridge, queued.
    void connectTo(JobEvents& target);
    // Hands the target, now, the events sent and not yet delivered (a program
    // that is ending: its event loop will not run again).
    void deliverPending();

    // JobEvents, from any thread.
    void statusLine(const std::string& text) override { emit statusLineSent(text); }
    void firmwareText(const std::string& text) override { emit firmwareTextSent(text); }
    void progress(const JobProgress& progress) override { emit progressSent(progress); }
    void unitFound(uint16_t unit) override { emit unitFoundSent(unit); }
    void logDownloaded(const CDiveLog& log) override { emit logSent(log); }
    void directoryRead(const LogDirectory& directory) override { emit directorySent(directory); }
    void linkState(const LinkEvent& event) override { emit linkStateSent(event); }
    void jobFinished(const JobOutcome& outcome) override { emit jobFinishedSent(outcome); }

signals:
    void statusLineSent(const std::string& text);
    void firmwareTextSent(const std::string& text);
    void progressSent(const ravo::JobProgress& progress);
    void unitFoundSent(quint16 unit);
    void logSent(const ravo::CDiveLog& log);
    void directorySent(const ravo::LogDirectory& directory);
    void linkStateSent(const ravo::LinkEvent& event);
    void jobFinishedSent(const ravo::JobOutcome& outcome);
};

}  // namespace ravo::desktop
