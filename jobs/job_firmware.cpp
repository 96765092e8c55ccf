#include "jobs/job_bodies.h"
#include "jobs/work_task.h"

namespace ravo {

int jobFirmware(WorkTask&, int) { return 0; }

}  // namespace ravo
