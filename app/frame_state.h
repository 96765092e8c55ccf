#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "jobs/job_events.h"
#include "jobs/job_requests.h"
#include "jobs/unit_versions.h"
#include "settings/unit_settings.h"

namespace ravo {

// Whether a unit job runs, its kind and its progress: the one source of
// "busy" for the window and every view.
struct JobStatus {
    bool running = false;
    JobKind kind = JobKind::None;
    JobProgress progress;  // of the running job; empty from its start until it reports
    bool stopAsked = false;

    // The progress for a control of `kind`: empty unless the running job
    // counts in that kind.
    JobProgress progressOf(ProgressKind kind) const
    {
        return running && progress.kind == kind ? progress : JobProgress{};
    }
};

// What the unit view shows of the unit. A value that was not read (or whose
// read failed, or that a firmware update made stale) is empty, shown "--".
struct UnitShown {
    uint16_t unit = 0xFFFF;
    std::optional<UnitVersions> versions;
    std::optional<double> voltage;
    UnitSettings settings;       // the settings list's record
    bool settingsRead = false;   // `settings` came from the unit
    uint32_t settingsReadAt = 0; // unit time of that read, by the PC's clock
    std::string resultText;      // under "Read Info"
    std::string firmwareText;    // under the firmware list
};

// What the main window knows and shows, held by its dispatcher; the views
// read it and follow its changes.
struct FrameState {
    JobStatus job;
    // The unit answered within the online period.
    bool online = false;
    // The link is open and kept for the next request.
    bool linkOpen = false;
    UnitShown unit;
    LogDirectory dives{LogKind::Dive, 0xFFFF, {}, {}};
    LogDirectory redbox{LogKind::Redbox, 0xFFFF, {}, {}};
    // How the last download of each kind ended, when it did not end whole.
    std::string diveDownloadNote;
    std::string redboxDownloadNote;

    const LogDirectory& directory(LogKind kind) const { return kind == LogKind::Dive ? dives : redbox; }
};

// What changed, so each view redraws only its part.
enum class FrameChange {
    Job,          // running, kind, progress
    Unit,         // the unit view's values
    Directory,    // a log directory or the saved marks of its rows
    Link,         // "ONLINE", or the link opened or closed
};

}  // namespace ravo
