#include "jobs/unit_power_down.h"

#include "jobs/work_task.h"

namespace ravo {

int powerDownUnit(WorkTask& worker)
{
    if (!worker.link.IsConnected())
        return 0;
    worker.link.PowerDown();
    worker.keepLinkOpen = false;
    worker.link.Close();
    worker.stopRequested = true;
    worker.link.clock().sleepMs(500);
    worker.link.Close();
    return 1;
}

}  // namespace ravo
