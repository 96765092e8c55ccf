#include <cstdio>

#include "cli/commands.h"
#include "cli/json_output.h"
#include "divedata/dive_log.h"
#include "divedata/saved_logs.h"
#include "firmware/file_util.h"

namespace ravo::cli {
namespace {

// The base name (no folder) a unit and log label of the listing stand for.
std::string baseNameOf(const std::string& unit, const std::string& log)
{
    return SavedLogBasePath(std::string(), unit, log);
}

void printSavedJson(CliContext& context)
{
    const std::string folder = absolutePath(context.app.config.diveFolder);
    Json units = Json::array();
    for (const SavedUnitGroup& group : GroupSavedLogs(context.app.savedDiveNames)) {
        Json logs = Json::array();
        for (const std::string& log : group.logs) {
            const std::string base = SavedLogBasePath(folder, group.unit, log);
            const SavedLogPartial partial = SavedDiveLogPartial(folder, baseNameOf(group.unit, log));
            Json entry = Json::object();
            putName(entry, "log", log);
            putNames(entry, "files", {base + ".txt", base + ".csv"});
            entry["partial"] = partial.partial;
            if (partial.partial) {
                entry["records"] = partial.records;
                if (partial.expected > 0)
                    entry["recordsExpected"] = partial.expected;
            }
            logs.push_back(entry);
        }
        units.push_back({{"unit", group.unit}, {"logs", logs}});
    }
    Json document = Json::object();
    putName(document, "folder", folder);
    document["units"] = units;
    printJson(document);
}

}  // namespace

CliCommand savedCommand()
{
    return {"saved",
            "List the dive logs saved in the dive folder as the tree groups them: the unit, then its logs "
            "(stamp and kind) indented by a tab; a log saved before all of it arrived is followed by a tab and "
            "\"partial, records N of M\".",
            [](CLI::App&) {},
            [](CliContext& context) {
                context.app.listSavedDives();
                if (context.output.json) {
                    printSavedJson(context);
                    return int(kExitOk);
                }
                const std::string folder = context.app.config.diveFolder;
                if (!context.output.quiet)
                    std::fprintf(stderr, "Dive folder: %s\n", absolutePath(folder).c_str());
                for (const SavedUnitGroup& group : GroupSavedLogs(context.app.savedDiveNames)) {
                    std::fputs((group.unit + "\n").c_str(), stdout);
                    for (const std::string& log : group.logs) {
                        std::string line = "\t" + log;
                        const SavedLogPartial partial = SavedDiveLogPartial(folder, baseNameOf(group.unit, log));
                        if (partial.partial)
                            line += "\t" + PartialRecordsText(partial.records, partial.expected);
                        std::fputs((line + "\n").c_str(), stdout);
                    }
                }
                return int(kExitOk);
            },
            true};
}

}  // namespace ravo::cli
