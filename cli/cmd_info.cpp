#include <cstdio>

#include "cli/commands.h"
#include "cli/json_output.h"
#include "cli/settings_output.h"
#include "jobs/unit_view_texts.h"
#include "link/unit_number.h"

namespace ravo::cli {
namespace {

void printInfoJson(CliContext& context)
{
    WorkTask& worker = *context.app.worker;
    Json info = Json::object();
    for (const auto& [name, value] : unitInfoTexts(worker.voltage, worker.versions))
        info[name] = jsonCell(value);
    Json settings = Json::array();
    for (const SettingsRow& row : buildSettingsRows(worker.settings, context.app.config.serviceUnlocked))
        settings.push_back(
            {{"name", row.name}, {"value", settingValueJson(row)}, {"editable", row.editable}});
    printJson({{"unit", formatUnitNumber(uint16_t(worker.unitNumber))},
               {"link", jsonText(worker.linkText)},
               {"info", info},
               {"settings", settings}});
}

// The information job's result when the battery is too low or a required
// setting did not read: the versions and the voltage were read.
constexpr int kJobLowBattery = -2;

void printInfoValues(const WorkTask& worker)
{
    for (const auto& [name, value] : unitInfoTexts(worker.voltage, worker.versions))
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
                WorkTask& worker = *context.app.worker;
                worker.unitNumber = context.app.config.currentUnitNumber();
                if (runJob(context, JOB_READ_INFO) != 0)
                    return int(kExitFailed);
                // Values not read are zeros, not the unit's: none are shown when
                // the unit did not answer; the versions and the voltage are
                // when they were read, the settings only after a whole read.
                if (worker.jobResult != 1 || !worker.settings.valid) {
                    reportJobFailure(context);
                    if (worker.jobResult == kJobLowBattery && !context.output.json)
                        printInfoValues(worker);
                    return int(kExitFailed);
                }
                if (context.output.json) {
                    printInfoJson(context);
                    return int(kExitOk);
                }
                printInfoValues(worker);
                for (const SettingsRow& row : buildSettingsRows(worker.settings, context.app.config.serviceUnlocked))
                    printSettingsRow(row);
                std::fflush(stdout);
                return int(kExitOk);
            },
            true};
}

}  // namespace ravo::cli
