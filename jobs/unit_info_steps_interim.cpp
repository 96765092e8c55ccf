// Interim versions and voltage read for the firmware and recovery jobs, until
// the unit information job provides the shared one.
#include "jobs/unit_info_steps.h"

#include "jobs/work_task.h"

namespace ravo {

int ReadVersionsAndVoltage(WorkTask& task)
{
    task.voltage = 0;
    task.send(UM_KEEP_ALIVE);
    if (!task.link.isOpen())
        return -1;
    task.line("Read software versions");
    uint8_t bytes[15] = {};
    int count = 0;
    task.versions.clear();
    if (!task.link.ReadVersions(bytes, count)) {
        task.line("No responce from unit. Please, check unit nr.");
        return -4;
    }
    for (int i = 0; i < count && i < 15; ++i)
        task.versions.bytes[i] = bytes[i];
    task.send(UM_KEEP_ALIVE);
    if (task.stopCheck())
        return -3;
    task.line("Read voltage");
    uint16_t millivolts = 0;
    if (task.link.GetBatteryMillivolts(millivolts))
        task.voltage = millivolts * 0.001;
    task.send(UM_KEEP_ALIVE);
    if (task.voltage > 0.001 && task.voltage < 3.5) {
        task.line("Voltage outside range, please charge battery and try again");
        return -2;
    }
    task.line("Voltage OK (%0.2f)", task.voltage);
    return 1;
}

}  // namespace ravo
