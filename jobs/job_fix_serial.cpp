#include "jobs/job_bodies.h"
#include "jobs/work_task.h"

namespace ravo {

int jobFixLostSerial(WorkTask&) { return 0; }

}  // namespace ravo
