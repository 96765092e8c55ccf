#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "divedata/dive_info.h"
#include "divedata/dive_log.h"

namespace ravo {

struct JobOutcome;

// The two kinds of log the unit keeps.
enum class LogKind { Dive, Redbox };

// What a job's progress counts.
enum class ProgressKind {
    None,
    LogRecords,      // records of a log, or of a batch of logs
    FirmwareChunks,  // chunks of a firmware image
};

// How far a job has come: `done` of `total` of its kind, and the percent a
// bar shows (0..100; for firmware by the bytes of the image sent so far).
struct JobProgress {
    ProgressKind kind = ProgressKind::None;
    uint32_t done = 0;
    uint32_t total = 0;
    int percent = 0;

    bool operator==(const JobProgress&) const = default;
};

// A log directory as the unit gave it: one entry per index, an entry that did
// not answer left cleared (`valid` 0) and its index named in `unread`.
struct LogDirectory {
    LogKind kind = LogKind::Dive;
    uint16_t unit = 0xFFFF;
    std::vector<CDiveInfo> entries;
    std::vector<uint16_t> unread;
    bool countRead = true;  // false: the unit did not give its number of logs, so none is listed

    bool complete() const { return countRead && unread.empty(); }
};

// Whether the unit is heard on the link.
struct LinkEvent {
    enum Kind {
        UnitAnswered,  // a reply came from the unit
        LinkLost,      // the link was closed because the unit or its far end went away
    };
    Kind kind = UnitAnswered;
    std::string reason;  // LinkLost: why, for the user
};

// Where a job reports, typed per event. The calls come from the worker's
// thread, one at a time and in order; each returns before the job goes on, and
// what a reference names is valid during the call only. The job's end is
// the last call, jobFinished. Every event is ignored unless overridden.
class JobEvents {
public:
    virtual ~JobEvents() = default;
    // A status line, exactly as the job formats it.
    virtual void statusLine(const std::string& text) { (void)text; }
    // The text under the firmware list (empty after each connect).
    virtual void firmwareText(const std::string& text) { (void)text; }
    virtual void progress(const JobProgress& progress) { (void)progress; }
    // The unit answered a versions read: it belongs in the tree.
    virtual void unitFound(uint16_t unit) { (void)unit; }
    // A log arrived (whole, or as far as it came: `log.partial`); it is to be saved.
    virtual void logDownloaded(const CDiveLog& log) { (void)log; }
    virtual void directoryRead(const LogDirectory& directory) { (void)directory; }
    virtual void linkState(const LinkEvent& event) { (void)event; }
    virtual void jobFinished(const JobOutcome& outcome) { (void)outcome; }
};

}  // namespace ravo
