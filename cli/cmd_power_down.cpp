#include <cstdio>

#include "cli/commands.h"
#include "cli/unit_check.h"
#include "jobs/unit_power_down.h"
#include "link/c_format.h"

namespace ravo::cli {
namespace {

int powerDown(CliContext& context)
{
    if (!connectAndCheckUnit(context))
        return kExitFailed;
    WorkTask& worker = *context.app.worker;
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
