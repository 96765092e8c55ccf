#include <cstdio>

#include "cli/commands.h"
#include "jobs/unit_power_down.h"
#include "link/c_format.h"

namespace ravo::cli {
namespace {

int powerDown(CliContext& context)
{
    WorkTask& worker = *context.app.worker;
    worker.unitNumber = context.app.config.currentUnitNumber();
    worker.keepLinkOpen = true;
    if (runJob(context, JOB_NONE) != 0) {
        worker.keepLinkOpen = false;
        return kExitFailed;
    }
    // The opcode map follows the unit's firmware: ask the unit for it first,
    // which also tells whether the unit number answers at all.
    uint8_t bytes[15] = {};
    int count = 0;
    if (!worker.link.ReadVersions(bytes, count)) {
        std::fprintf(stderr, "%s\n", "No responce from unit. Please, check unit nr.");
        worker.keepLinkOpen = false;
        worker.link.Close();
        return kExitFailed;
    }
    worker.versions = decodeUnitVersions(bytes, count);
    worker.link.setLinkFirmwareVersion(worker.versions.firmwareVersion());
    if (!powerDownUnit(worker))
        return kExitFailed;
    std::printf("%s\n", formatC("Power down sent to unit %04X", unsigned(worker.unitNumber)).c_str());
    return kExitOk;
}

}  // namespace

CliCommand powerDownCommand()
{
    return {"power-down", "Switch the unit off.", [](CLI::App&) {}, powerDown};
}

}  // namespace ravo::cli
