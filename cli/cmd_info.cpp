#include <cstdio>
#include <filesystem>
#include <system_error>

#include "cli/commands.h"
#include "cli/json_output.h"
#include "cli/settings_output.h"
#include "firmware/firmware_list.h"
#include "jobs/unit_view_texts.h"
#include "jobs/unit_warnings.h"
#include "link/unit_number.h"
#include "link/unit_time.h"

namespace ravo::cli {
namespace {

// The findings on what was read, the settings' clock compared with the PC's
// time just after the read. The firmware folder is looked at, not created.
std::vector<UnitWarning> infoWarnings(CliContext& context, const ReadInfoResult& read)
{
    UnitWarningFacts facts;
    facts.voltage = read.voltage;
    facts.versions = read.versions;
    if (read.settings && read.settings->valid)
        facts.settings = read.settings;
    facts.settingsReadAt = currentUnitTime();
    std::error_code error;
    if (std::filesystem::is_directory(context.app.config.firmwareFolder, error)) {
        FirmwareFileList listing;
        ListFirmwareFiles(listing, context.app.config.firmwareFolder);
        facts.firmwareFiles = listing.names;
    }
    return unitWarnings(facts);
}

void printInfoJson(CliContext& context, const JobOutcome& outcome, const ReadInfoResult& read,
                   const std::vector<UnitWarning>& warnings)
{
    Json info = Json::object();
    for (const auto& [name, value] : unitInfoTexts(read.voltage, read.versions))
        info[name] = jsonCell(value);
    Json found = Json::array();
    for (const UnitWarning& warning : warnings)
        found.push_back({{"severity", severityName(warning.severity)}, {"text", warning.text}});
    Json document = {{"unit", formatUnitNumber(context.app.config.currentUnitNumber())},
                     {"link", jsonText(outcome.linkText)},
                     {"info", info},
                     {"warnings", found}};
    if (read.settings && read.settings->valid) {
        Json settings = Json::array();
        for (const SettingsRow& row : buildSettingsRows(*read.settings, context.app.config.serviceUnlocked))
            settings.push_back(
                {{"name", row.name}, {"value", settingValueJson(row)}, {"editable", row.editable}});
        document["settings"] = settings;
    }
    printJson(document);
}

void printWarnings(const std::vector<UnitWarning>& warnings)
{
    for (const UnitWarning& warning : warnings)
        std::printf("Warning: %s\n", warning.text.c_str());
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
            "rows (\"Name<TAB>Value\", \"*\" marking an editable row), after a \"Warning: \" line for each "
            "finding (failed test, O2 cell, battery, clock, service date, newer firmware file). Exit 1, with the job's lines only, "
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
                    if (read && read->code == kJobLowBattery) {
                        const std::vector<UnitWarning> warnings = infoWarnings(context, *read);
                        if (context.output.json) {
                            printInfoJson(context, outcome, *read, warnings);
                        } else {
                            printWarnings(warnings);
                            printInfoValues(*read);
                        }
                    }
                    return int(kExitFailed);
                }
                const std::vector<UnitWarning> warnings = infoWarnings(context, *read);
                if (context.output.json) {
                    printInfoJson(context, outcome, *read, warnings);
                    return int(kExitOk);
                }
                printWarnings(warnings);
                printInfoValues(*read);
                for (const SettingsRow& row : buildSettingsRows(*read->settings, context.app.config.serviceUnlocked))
                    printSettingsRow(row);
                std::fflush(stdout);
                return int(kExitOk);
            },
            true};
}

}  // namespace ravo::cli
