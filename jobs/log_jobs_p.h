#pragma once
#include <cstdint>

#include "divedata/dive_info.h"
#include "divedata/dive_log.h"
#include "jobs/job_events.h"
#include "link/unit_commands.h"

namespace ravo {

class JobContext;

namespace detail {

// Entries claiming more records than this are not downloaded: the unit's
// count sizes the body buffer, and a corrupt entry must not exhaust memory.
inline constexpr uint32_t kMaxLogRecords = 1000000;

// Reads directory entry `index` with `infoCommand` into `entry`: zeroed first,
// filled and marked valid (with the job's unit number) only on success.
void readDirectoryEntry(JobContext& job, UnitCommand infoCommand, uint16_t index, CDiveInfo& entry);

// Unanswered directory entries in a row after which the unit is taken to be gone.
inline constexpr int kDirectoryMissesMax = 5;

// Reads the directory of `directory.kind` into it, checking the stop request
// after each entry. 1 when every entry was asked for; 0 when stopped or after
// kDirectoryMissesMax unanswered entries in a row (with a line saying so).
// Entries not read stay cleared and are named in `directory.unread`.
int readDirectory(JobContext& job, UnitCommand countCommand, UnitCommand infoCommand, LogDirectory& directory);

// Reads the body of log `index` in blocks of 25 records into `log.samples`.
// `progressFormat` is the per-block line ("... %d - %d (%d)"), `failFormat`
// the line for a block that failed. Stops on a stop request; what arrived is
// kept either way. True when every record arrived.
bool downloadLogBody(JobContext& job, UnitCommand dataCommand, uint16_t index, const char* progressFormat,
                     const char* failFormat, CDiveLog& log);

// The access handshake with the unit firmware version of the job's versions;
// when none were read in this session they are read first. 1 ok.
int redboxHandshake(JobContext& job);

// One dive log, `index`, downloaded and handed over: 1 whole, kJobLogIncomplete
// delivered incomplete, 0 not delivered (the unit did not know the entry).
int downloadDiveLog(JobContext& job, uint16_t index);
// One redbox log, likewise.
int downloadRedboxLog(JobContext& job, uint16_t index);

}  // namespace detail
}  // namespace ravo
