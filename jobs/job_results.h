#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "jobs/job_requests.h"
#include "jobs/unit_versions.h"
#include "settings/setting_edit.h"
#include "settings/settings_backup.h"
#include "settings/unit_settings.h"

namespace ravo {

// Results of a log job whose log was delivered without all of its header or
// records (stopped, link lost, a block that failed): a failure for every
// caller, though what arrived was handed over.
inline constexpr int kJobLogIncomplete = -11;

// The result of the firmware and recovery jobs when they ended before their
// main step (versions not read, low battery, bootloader not entered, stopped).
inline constexpr int kJobEndedEarly = -10;

// What each job leaves for its requester, one type per job. `code` is the
// job body's own result: 1 (or 0 and more) for success, 0 or negative otherwise.

struct ConnectResult {
    int code = 0;
    std::optional<UnitVersions> versions;  // when read
};

// What the unit information read learned. A value that was not read stays
// empty, so nobody shows a zero for it.
struct ReadInfoResult {
    int code = 0;  // 1; -2 low battery; -3 stopped; -4 no versions reply; -1 stopped or no link in the settings read
    bool settingsOnly = false;
    std::optional<UnitVersions> versions;
    std::optional<double> voltage;          // volts, when the unit reported them
    std::optional<UnitSettings> settings;   // the record read, complete (`valid`) or as far as it came
};

struct DirectoryResult {
    int code = 0;  // 1 every entry asked for; 0 stopped, or the unit stopped answering
};

struct LogsResult {
    int code = 0;  // 1 every log delivered whole; kJobLogIncomplete; 0 nothing delivered
    int requested = 0;
    int whole = 0;  // delivered with every record
};

// Whether the unit is known to wait in its bootloader after a firmware job.
enum class BootloaderState {
    Unknown,  // nothing on the link said so
    Waiting,  // it entered its bootloader (or its bootloader answered) and has no complete image yet
    Left,     // the download finished: the unit restarts into its new firmware
};

struct FirmwareResult {
    int code = 0;  // 0 finished; -1 file refused or no link; -2 stopped; -3/-4 link lost; -6/-7 chunk errors; kJobEndedEarly
    BootloaderState bootloader = BootloaderState::Unknown;
};

struct FixSerialResult {
    int code = 0;  // 1 fixed; 0 no source found; -1 failed; kJobEndedEarly
};

struct EditRowResult {
    EditOutcome outcome = EditOutcome::Ignored;
    int rowId = 0;
    UnitSettings record;               // the list's copy with the edit applied
    std::vector<std::string> notices;  // for the user, in order ("Failed to connect to unit")
    bool reread = false;               // the settings are to be read again
};

struct RestoreSettingsResult {
    RestoreResult restore;
    int requested = 0;  // rows asked for
    UnitSettings record;
    std::vector<std::string> notices;
    std::string path;
    bool reread = false;
};

struct PowerDownResult {
    bool sent = false;  // the unit was connected and the command went out
};

struct LinkTaskResult {};

using JobResult = std::variant<ConnectResult, ReadInfoResult, DirectoryResult, LogsResult, FirmwareResult,
                               FixSerialResult, EditRowResult, RestoreSettingsResult, PowerDownResult,
                               LinkTaskResult>;

// How a job ended: the connect steps' result, the link's text and the job's
// own result.
struct JobOutcome {
    JobKind kind = JobKind::None;
    // 0 connected (or the job needed no connect); -1 the link could not be
    // opened; -2 no unit found; -3 no connection with the unit. The job body
    // ran only for 0.
    int connect = 0;
    // After a connect: the peer's description; after a failed one, why.
    std::string linkText;
    JobResult result;

    bool connected() const { return connect == 0; }
    // The job body's result, 0 when it did not run.
    int code() const;
    template <typename T>
    const T* as() const
    {
        return std::get_if<T>(&result);
    }
};

}  // namespace ravo
