#include <cstdio>

#include "cli/commands.h"
#include "divedata/saved_logs.h"

namespace ravo::cli {

CliCommand savedCommand()
{
    return {"saved",
            "List the dive logs saved in the dive folder as the tree groups them: the unit, then its logs "
            "(stamp and kind) indented by a tab.",
            [](CLI::App&) {},
            [](CliContext& context) {
                context.app.listSavedDives();
                for (const SavedUnitGroup& group : GroupSavedLogs(context.app.savedDiveNames)) {
                    std::fputs((group.unit + "\n").c_str(), stdout);
                    for (const std::string& log : group.logs)
                        std::fputs(("\t" + log + "\n").c_str(), stdout);
                }
                return int(kExitOk);
            }};
}

}  // namespace ravo::cli
