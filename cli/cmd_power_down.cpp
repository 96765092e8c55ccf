#include <cstdio>

#include "cli/commands.h"
#include "cli/unit_check.h"
#include "link/c_format.h"

namespace ravo::cli {
namespace {

int powerDown(CliContext& context)
{
    if (!connectAndCheckUnit(context))
        return kExitFailed;
    const JobOutcome outcome = runJob(context, PowerDownRequest{});
    const PowerDownResult* result = outcome.as<PowerDownResult>();
    if (!result || !result->sent)
        return kExitFailed;
    std::printf("%s\n", formatC("Power down sent to unit %04X", unsigned(context.app.config.currentUnitNumber())).c_str());
    return kExitOk;
}

}  // namespace

CliCommand powerDownCommand()
{
    return {"power-down", "Switch the unit off.", [](CLI::App&) {}, powerDown};
}

}  // namespace ravo::cli
