#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "divedata/dive_info.h"
#include "jobs/job_events.h"
#include "settings/unit_settings.h"

namespace ravo {

class CIrComm;

// What the requester asks of the worker, one type per job. Every job that
// talks to the unit connects the link first (the worker's connect steps);
// the settings jobs and power down use the link as they find it.

// Connects, and reads the unit's versions when asked (the command line's
// unit check and `connect`).
struct ConnectRequest {
    uint16_t unit = 0xFFFF;
    bool readVersions = true;
    bool keepLinkOpen = true;
};

// Versions, battery and every setting; with `settingsOnly` the settings read
// alone (after an edit).
struct ReadInfoRequest {
    uint16_t unit = 0xFFFF;
    bool settingsOnly = false;
    bool keepLinkOpen = true;
};

// One log directory, dive or redbox.
struct DirectoryRequest {
    uint16_t unit = 0xFFFF;
    LogKind kind = LogKind::Dive;
    bool keepLinkOpen = true;
};

// These logs, one after another, each handed over as it arrives. Several
// dives make one job with one progress over all their records; redbox logs
// come one at a time.
struct LogsRequest {
    uint16_t unit = 0xFFFF;
    LogKind kind = LogKind::Dive;
    std::vector<CDiveInfo> entries;
};

// How the firmware reaches the bootloader (the values are the configuration's
// download mode).
enum class FirmwareMode {
    Normal = 2,      // versions and battery, bootloader entry, download
    Bootloader = 3,  // the unit already waits in its bootloader: download only
    Forced = 4,      // forced bootloader entry, download
};

// This firmware file onto the unit; an empty path means the built-in image.
struct FirmwareRequest {
    uint16_t unit = 0xFFFF;
    std::string path;
    FirmwareMode mode = FirmwareMode::Normal;
};

// Gives unit FFFF back the number its redbox logs recorded.
struct FixSerialRequest {
    uint16_t unit = 0xFFFF;
};

// Writes one settings row: `record` is the list's copy as it stood when the
// editor opened, `entered` what the editor ended with.
struct EditRowRequest {
    int rowId = 0;
    UnitSettings record;
    std::string entered;
    bool serviceMode = false;
};

// Writes the rows `rowIds` of the settings file `file` onto the unit whose
// values as last read are `record`.
struct RestoreRequest {
    UnitSettings file;
    std::vector<int> rowIds;
    UnitSettings record;
    std::string path;  // of the file, for the lines that name it
};

// Switches the unit off.
struct PowerDownRequest {};

// Runs `work` with the link on the worker's thread: the one way for a caller
// that drives the link step by step itself (the command line's edits).
struct LinkTaskRequest {
    std::function<void(CIrComm& link)> work;
};

using JobRequest = std::variant<ConnectRequest, ReadInfoRequest, DirectoryRequest, LogsRequest, FirmwareRequest,
                                FixSerialRequest, EditRowRequest, RestoreRequest, PowerDownRequest,
                                LinkTaskRequest>;

// The kind of a job, for the state the window shows.
enum class JobKind {
    None,
    Connect,
    ReadInfo,
    ReadSettings,
    DiveDirectory,
    RedboxDirectory,
    DiveLogs,
    RedboxLog,
    Firmware,
    FixSerial,
    EditRow,
    RestoreSettings,
    PowerDown,
    LinkTask,
};

JobKind jobKindOf(const JobRequest& request);

// The progress a job of this kind reports: log records, firmware chunks or none.
ProgressKind progressKindOf(JobKind kind);

}  // namespace ravo
