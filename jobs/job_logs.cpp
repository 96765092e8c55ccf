#include "jobs/job_bodies.h"
#include "jobs/work_task.h"

namespace ravo {

int jobDiveDirectory(WorkTask&) { return 0; }
int jobDiveLog(WorkTask&) { return 0; }
int jobRedboxDirectory(WorkTask&) { return 0; }
int jobRedboxLog(WorkTask&) { return 0; }

}  // namespace ravo
