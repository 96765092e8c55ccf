#pragma once
#include <cstdint>

#include "divedata/dive_info.h"
#include "divedata/dive_log.h"
#include "link/unit_commands.h"

namespace ravo {

class WorkTask;

namespace detail {

// Entries claiming more records than this are not downloaded: the unit's
// count sizes the body buffer, and a corrupt entry must not exhaust memory.
inline constexpr uint32_t kMaxLogRecords = 1000000;

// Reads directory entry `index` with `infoCommand` into `entry`: zeroed first,
// filled and marked valid (with the worker's unit number) only on success.
void readDirectoryEntry(WorkTask& task, UnitCommand infoCommand, uint16_t index, CDiveInfo& entry);

// Unanswered directory entries in a row after which the unit is taken to be gone.
inline constexpr int kDirectoryMissesMax = 5;

// Reads the directory of one kind into `directory`, checking the stop request
// after each entry. 1 when every entry was asked for; 0 when stopped or after
// kDirectoryMissesMax unanswered entries in a row (with a line saying so);
// entries not read stay cleared.
int readDirectory(WorkTask& task, UnitCommand countCommand, UnitCommand infoCommand,
                  std::vector<CDiveInfo>& directory, bool redbox);

// Reads the body of log `index` in blocks of 25 records into `log.samples`.
// `progressFormat` is the per-block line ("... %d - %d (%d)"), `failFormat`
// the line for a block that failed. Stops on a stop request; what arrived is
// kept either way. True when every record arrived.
bool downloadLogBody(WorkTask& task, UnitCommand dataCommand, uint16_t index, const char* progressFormat,
                     const char* failFormat, CDiveLog& log);

// The access handshake with the unit firmware version of the worker's
// versions; when none were read in this session they are read first. 1 ok.
int redboxHandshake(WorkTask& task);

// The unit firmware version the worker's versions give: main version << 8 | beta.
uint32_t unitFirmwareVersionOf(WorkTask& task);

}  // namespace detail
}  // namespace ravo
