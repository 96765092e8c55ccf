#include <cstdio>

#include "cli/commands.h"
#include "cli/json_output.h"
#include "cli/settings_output.h"
#include "jobs/unit_view_texts.h"
#include "link/unit_number.h"

namespace ravo::cli {
namespace {

void printInfoJson(CliContext& context, const JobOutcome& outcome, const ReadInfoResult& read)
{
    Json info = Json::object();
    for (const auto& [name, value] : unitInfoTexts(read.voltage, read.versions))
        info[name] = jsonCell(value);
    Json settings = Json::array();
    for (const SettingsRow& row : buildSettingsRows(*read.settings, context.app.config.serviceUnlocked))
        settings.push_back(
            {{"name", row.name}, {"value", settingValueJson(row)}, {"editable", row.editable}});
    printJson({{"unit", formatUnitNumber(context.app.config.currentUnitNumber())},
               {"link", jsonText(outcome.linkText)},
               {"info", info},
               {"settings", settings}});
}

// The information job's result when the battery is too low or a required
// setting did not read: the versions and the voltage were read.
constexpr int kJobLowBattery = -2;

void printInfoValues(const ReadInfoResult& read)
{
    for (const auto& [name, value] : unitInfoTexts(read.voltage, read.versions))
        std::printf("%s\t%s\n", name.c_str(), value.c_str());
    std::fflush(stdout);
}

}  // namespace

CliCommand infoCommand()
{
    return {"info",
            "Read the unit's versions, voltage and settings; print the six info values and the settings "
            "rows (\"Name<TAB>Value\", \"*\" marking an editable row). Exit 1, with the job's lines only, "
            "when the unit could not be read.",
            [](CLI::App&) {},
            [](CliContext& context) {
                const JobOutcome outcome = runJob(
                    context, ReadInfoRequest{context.app.config.currentUnitNumber(), false,
                                             context.app.worker->keepLinkOpen()});
                if (!outcome.connected())
                    return int(kExitFailed);
                const ReadInfoResult* read = outcome.as<ReadInfoResult>();
                // Values not read are not shown: none when the unit did not
                // answer; the versions and the voltage when they were read, the
                // settings only after a whole read.
                if (!read || read->code != 1 || !read->settings || !read->settings->valid) {
                    reportJobFailure(context);
                    if (read && read->code == kJobLowBattery && !context.output.json)
                        printInfoValues(*read);
                    return int(kExitFailed);
                }
                if (context.output.json) {
                    printInfoJson(context, outcome, *read);
                    return int(kExitOk);
                }
                printInfoValues(*read);
                for (const SettingsRow& row : buildSettingsRows(*read->settings, context.app.config.serviceUnlocked))
                    printSettingsRow(row);
                std::fflush(stdout);
                return int(kExitOk);
            },
            true};
}

}  // namespace ravo::cli
