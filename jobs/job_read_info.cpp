#include "jobs/job_bodies.h"
#include "jobs/unit_info_steps.h"
#include "jobs/work_task.h"

namespace ravo {

int jobReadInfo(WorkTask& task)
{
    int result = ReadVersionsAndVoltage(task);
    if (result != 1)
        return result;
    SendUnitFound(task);
    if (task.stopCheck())
        return -3;
    result = ReadSettings(task);
    if (result == -1)
        task.line("User cancel....");
    else if (result < 0)
        task.line("Error reading settings value...");
    else
        CheckVoltage(task);
    return result;
}

int jobReadSettings(WorkTask& task)
{
    return ReadSettings(task);
}

}  // namespace ravo
