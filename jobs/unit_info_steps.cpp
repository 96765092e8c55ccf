#include "jobs/unit_info_steps.h"

#include "jobs/work_task.h"
#include "link/unit_number.h"
#include "settings/unit_settings.h"

namespace ravo {
namespace {

constexpr double kLowestGoodVoltage = 3.5;
constexpr double kUnmeasuredVoltage = 0.001;

}  // namespace

int ReadVersionsAndVoltage(WorkTask& task)
{
    task.voltage = 0;
    // A failed read must not leave the versions of an earlier unit or job.
    task.versions.clear();
    task.send(UM_KEEP_ALIVE);
    if (!task.link.IsConnected())
        return -1;

    task.line("Read software versions");
    uint8_t bytes[15] = {};
    int count = 0;
    if (!task.link.ReadVersions(bytes, count)) {
        task.line("No responce from unit. Please, check unit nr.");
        return -4;
    }
    task.versions = decodeUnitVersions(bytes, count);
    task.send(UM_KEEP_ALIVE);
    if (task.stopCheck())
        return -3;

    task.line("Read voltage");
    task.voltage = 0;
    uint16_t millivolts = 0;
    // A unit that does not report its voltage is let through: 0 means unmeasured.
    if (task.link.GetBatteryMillivolts(millivolts))
        task.voltage = millivolts * 0.001;
    task.send(UM_KEEP_ALIVE);
    return CheckVoltage(task);
}

int CheckVoltage(WorkTask& task)
{
    if (task.voltage > kUnmeasuredVoltage && task.voltage < kLowestGoodVoltage) {
        task.line("Voltage outside range, please charge battery and try again");
        return -2;
    }
    task.line("Voltage OK (%0.2f)", task.voltage);
    return 1;
}

void SendUnitFound(WorkTask& task)
{
    std::string text = formatUnitNumber(uint16_t(task.unitNumber));
    task.send(UM_UNIT_FOUND, 0, reinterpret_cast<intptr_t>(&text));
}

}  // namespace ravo
