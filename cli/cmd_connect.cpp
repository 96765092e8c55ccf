#include <cstdio>

#include "cli/commands.h"
#include "cli/unit_check.h"
#include "jobs/unit_view_texts.h"

namespace ravo::cli {

CliCommand connectCommand()
{
    return {"connect",
            "Connect to the unit, check that the unit number answers by reading its versions, print the unit's "
            "software version, and close the link. Exit 1 when no unit is found or the unit does not answer.",
            [](CLI::App&) {},
            [](CliContext& context) {
                if (!connectAndCheckUnit(context))
                    return int(kExitFailed);
                std::printf("Software\t%s\n", softwareVersionText(context.app.worker->versions()).c_str());
                closeKeptLink(context);
                return int(kExitOk);
            }};
}

}  // namespace ravo::cli
