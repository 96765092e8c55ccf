#include <cstdio>

#include "cli/commands.h"
#include "sim/sim_presets.h"

namespace ravo::cli {

CliCommand presetsCommand()
{
    return {"presets",
            "List the simulated unit's presets (for --link sim:PRESET), as ravo-unit-sim --list-presets does.",
            [](CLI::App&) {},
            [](CliContext&) {
                std::fputs(sim::presetTable().c_str(), stdout);
                return int(kExitOk);
            }};
}

}  // namespace ravo::cli
