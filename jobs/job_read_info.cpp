#include "jobs/job_bodies.h"
#include "jobs/work_task.h"

namespace ravo {

int jobReadInfo(WorkTask&) { return 0; }
int jobReadSettings(WorkTask&) { return 0; }

}  // namespace ravo
