#pragma once
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "jobs/job_events.h"
#include "jobs/job_results.h"

namespace ravo::test {

// Records every event a job sends, in order, from whatever thread. With
// `holdStatusLines` set it blocks inside the first status line until
// release() is called, so a test can act while a job is running.
class RecordingEvents : public JobEvents {
public:
    enum class Kind { Status, FirmwareText, Progress, UnitFound, Log, Directory, Link, Finished };
    struct Entry {
        Kind kind;
        std::string text;      // a status line, a firmware text, a unit "%04X", a link reason
        JobProgress progress;  // Progress
    };

    void statusLine(const std::string& text) override;
    void firmwareText(const std::string& text) override;
    void progress(const JobProgress& progress) override;
    void unitFound(uint16_t unit) override;
    void logDownloaded(const CDiveLog& log) override;
    void directoryRead(const LogDirectory& directory) override;
    void linkState(const LinkEvent& event) override;
    void jobFinished(const JobOutcome& outcome) override;

    std::vector<Entry> entries() const;
    std::vector<Kind> kinds() const;
    std::vector<std::string> lines() const;
    bool hasLine(const std::string& text) const;
    std::vector<JobProgress> progressEvents() const;
    std::vector<CDiveLog> logs() const;
    std::vector<LogDirectory> directories() const;
    std::vector<LinkEvent> linkEvents() const;
    std::optional<JobOutcome> outcome() const;
    void clear();

    // Called (on the job's thread) for every status line as it comes.
    std::function<void(const std::string& line)> onLine;

    void holdStatusLines();
    // Waits (real time, bounded) until a status line is being held.
    bool waitHeld(int realMs = 5000);
    void release();

private:
    void add(Entry entry);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Entry> entries_;
    std::vector<CDiveLog> logs_;
    std::vector<LogDirectory> directories_;
    std::vector<LinkEvent> links_;
    std::optional<JobOutcome> outcome_;
    bool hold_ = false;
    bool holding_ = false;
};

// Records every event, as RecordingEvents does (holding status lines when
// asked), and then hands it on to `target`: a test stands between the worker
// and the window.
class RelayEvents : public RecordingEvents {
public:
    explicit RelayEvents(JobEvents& target) : target_(target) {}
    void statusLine(const std::string& text) override;
    void firmwareText(const std::string& text) override;
    void progress(const JobProgress& progress) override;
    void unitFound(uint16_t unit) override;
    void logDownloaded(const CDiveLog& log) override;
    void directoryRead(const LogDirectory& directory) override;
    void linkState(const LinkEvent& event) override;
    void jobFinished(const JobOutcome& outcome) override;

private:
    JobEvents& target_;
};

// Keeps a job's events as they come and hands them to another receiver
// later, on the caller's thread, in order: what the window's bridge does,
// without a toolkit.
class EventQueue : public JobEvents {
public:
    void statusLine(const std::string& text) override;
    void firmwareText(const std::string& text) override;
    void progress(const JobProgress& progress) override;
    void unitFound(uint16_t unit) override;
    void logDownloaded(const CDiveLog& log) override;
    void directoryRead(const LogDirectory& directory) override;
    void linkState(const LinkEvent& event) override;
    void jobFinished(const JobOutcome& outcome) override;

    // Hands over every event kept so far; the number handed over.
    int deliverTo(JobEvents& target);

    // Called (on the job's thread) for every status line as it comes.
    std::function<void(const std::string& line)> onLine;

private:
    void push(std::function<void(JobEvents&)> event);

    std::mutex mutex_;
    std::vector<std::function<void(JobEvents&)>> events_;
};

}  // namespace ravo::test
