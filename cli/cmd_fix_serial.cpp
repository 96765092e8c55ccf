#include <cstdio>

#include "cli/commands.h"
#include "jobs/request_lines.h"

namespace ravo::cli {

CliCommand fixSerialCommand()
{
    return {"fix-serial",
            "Give a unit that lost its number (--unit FFFF) its number back from its redbox logs.",
            [](CLI::App&) {},
            [](CliContext& context) {
                CRavo_ConfigApp& app = context.app;
                uint16_t unit = app.config.currentUnitNumber();
                FixSerialLines request = fixSerialLines(unit);
                if (std::FILE* out = context.output.statusStream()) {
                    std::fprintf(out, "%s\n", request.lines.status.c_str());
                    std::fflush(out);
                }
                app.log.write(request.lines.log);
                if (!request.start)
                    return int(kExitFailed);
                const JobOutcome outcome = runJob(context, FixSerialRequest{unit});
                if (!outcome.connected())
                    return int(kExitFailed);
                return outcome.code() == 1 ? int(kExitOk) : int(kExitFailed);
            }};
}

}  // namespace ravo::cli
