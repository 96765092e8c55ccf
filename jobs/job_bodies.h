#pragma once

namespace ravo {

class WorkTask;

// The job bodies the worker dispatches to. Each reports its own lines through
// the worker and leaves what it read in the worker's fields. Results: 1 (or 0
// and more) for success, 0 or a negative number otherwise.
int jobReadInfo(WorkTask& task);
int jobReadSettings(WorkTask& task);
int jobFirmware(WorkTask& task, int jobCode);
int jobDiveDirectory(WorkTask& task);
int jobDiveLog(WorkTask& task);
int jobDiveLogs(WorkTask& task);
int jobRedboxDirectory(WorkTask& task);
int jobRedboxLog(WorkTask& task);
int jobFixLostSerial(WorkTask& task);

}  // namespace ravo
