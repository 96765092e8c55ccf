#include <cstdio>

#include "cli/commands.h"
#include "cli/settings_output.h"
#include "jobs/unit_view_texts.h"

namespace ravo::cli {

CliCommand infoCommand()
{
    return {"info",
            "Read the unit's versions, voltage and settings; print the six info values and the settings "
            "rows (\"Name<TAB>Value\", \"*\" marking an editable row).",
            [](CLI::App&) {},
            [](CliContext& context) {
                WorkTask& worker = *context.app.worker;
                worker.unitNumber = context.app.config.currentUnitNumber();
                if (runJob(context, JOB_READ_INFO) != 0)
                    return int(kExitFailed);
                for (const auto& [name, value] : unitInfoTexts(worker.voltage, worker.versions))
                    std::printf("%s\t%s\n", name.c_str(), value.c_str());
                for (const SettingsRow& row : buildSettingsRows(worker.settings, context.app.config.serviceUnlocked))
                    printSettingsRow(row);
                std::fflush(stdout);
                return int(worker.settings.valid ? kExitOk : kExitFailed);
            }};
}

}  // namespace ravo::cli
