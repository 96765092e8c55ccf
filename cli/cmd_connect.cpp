#include "cli/commands.h"

namespace ravo::cli {

CliCommand connectCommand()
{
    return {"connect", "Connect to the unit, show which unit answered, and close the link.",
            [](CLI::App&) {},
            [](CliContext& context) {
                WorkTask& worker = *context.app.worker;
                worker.unitNumber = context.app.config.currentUnitNumber();
                return runJob(context, JOB_NONE) == 0 ? kExitOk : kExitFailed;
            }};
}

}  // namespace ravo::cli
