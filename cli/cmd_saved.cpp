#include <cstdio>

#include "cli/commands.h"
#include "cli/json_output.h"
#include "divedata/dive_log.h"
#include "divedata/saved_logs.h"
#include "firmware/file_util.h"

namespace ravo::cli {
namespace {

void printSavedJson(CliContext& context)
{
    const std::string folder = absolutePath(context.app.config.diveFolder);
    Json units = Json::array();
    for (const SavedUnitGroup& group : GroupSavedLogs(context.app.savedDiveNames)) {
        Json logs = Json::array();
        for (const std::string& log : group.logs) {
            const std::string base = SavedLogBasePath(folder, group.unit, log);
            logs.push_back({{"log", log}, {"files", {base + ".txt", base + ".csv"}}});
        }
        units.push_back({{"unit", group.unit}, {"logs", logs}});
    }
    printJson({{"folder", folder}, {"units", units}});
}

}  // namespace

CliCommand savedCommand()
{
    return {"saved",
            "List the dive logs saved in the dive folder as the tree groups them: the unit, then its logs "
            "(stamp and kind) indented by a tab.",
            [](CLI::App&) {},
            [](CliContext& context) {
                context.app.listSavedDives();
                if (context.output.json) {
                    printSavedJson(context);
                    return int(kExitOk);
                }
                if (!context.output.quiet)
                    std::fprintf(stderr, "Dive folder: %s\n", absolutePath(context.app.config.diveFolder).c_str());
                for (const SavedUnitGroup& group : GroupSavedLogs(context.app.savedDiveNames)) {
                    std::fputs((group.unit + "\n").c_str(), stdout);
                    for (const std::string& log : group.logs)
                        std::fputs(("\t" + log + "\n").c_str(), stdout);
                }
                return int(kExitOk);
            },
            true};
}

}  // namespace ravo::cli
