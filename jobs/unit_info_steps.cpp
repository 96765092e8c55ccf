#include "jobs/unit_info_steps.h"

#include "jobs/job_context.h"
#include "link/ir_comm.h"
#include "link/unit_number.h"
#include "settings/unit_settings.h"

namespace ravo {
namespace {

constexpr double kUnmeasuredVoltage = 0.001;

}  // namespace

int ReadVersionsAndVoltage(JobContext& job, UnitReading& reading)
{
    reading = UnitReading{};
    // A failed read must not leave the versions of an earlier unit or job.
    job.versions.clear();
    if (!job.link.IsConnected())
        return -1;

    job.line("Read software versions");
    uint8_t bytes[15] = {};
    int count = 0;
    if (!job.link.ReadVersions(bytes, count)) {
        job.line("No responce from unit. Please, check unit nr.");
        return -4;
    }
    job.versions = decodeUnitVersions(bytes, count);
    reading.versions = job.versions;
    if (job.stopCheck())
        return -3;

    job.line("Read voltage");
    uint16_t millivolts = 0;
    // A unit that does not report its voltage is let through: unmeasured.
    if (job.link.GetBatteryMillivolts(millivolts))
        reading.voltage = millivolts * 0.001;
    return CheckVoltage(job, reading.voltage.value_or(0));
}

bool voltageTooLow(double volts)
{
    return volts > kUnmeasuredVoltage && volts < kLowestGoodVoltage;
}

int CheckVoltage(JobContext& job, double voltage)
{
    if (voltageTooLow(voltage)) {
        job.line("Voltage outside range, please charge battery and try again");
        return -2;
    }
    job.line("Voltage OK (%0.2f)", voltage);
    return 1;
}

void SendUnitFound(JobContext& job)
{
    job.events.unitFound(job.unitNumber);
}

}  // namespace ravo
