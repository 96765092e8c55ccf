#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "firmware/file_util.h"
#include "firmware/firmware_list.h"
#include "jobs/request_lines.h"
#include "link/clock.h"

namespace ravo::cli {
namespace {

int listFirmware(CliContext& context)
{
    FirmwareFileList list;
    ListFirmwareFiles(list, context.app.config.firmwareFolder);
    std::fprintf(stderr, "Firmware folder: %s\n", list.folder.c_str());
    if (list.names.empty()) {
        std::printf("<no file avalible>\n");
        return kExitOk;
    }
    int chosen = defaultFirmwareChoice(list.names, "");
    for (size_t i = 0; i < list.names.size(); ++i)
        std::printf("%s %s\n", int(i) == chosen ? "*" : " ", list.names[i].c_str());
    return kExitOk;
}

bool readable(const std::string& path)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    return file != nullptr;
}

// The file as given, or else by that name in the firmware folder, as the
// unit view's list would give it.
std::string firmwarePathFor(const std::string& given, const std::string& folder)
{
    if (readable(given) || given.find_first_of("/\\") != std::string::npos)
        return given;
    std::string inFolder = joinFolder(folder, given);
    return readable(inFolder) ? inFolder : given;
}

// RAVO_TIME_SCALE=F runs the download's waits (bootloader restart, answer
// waits, reconnect) F times faster: for tests against a simulated unit.
void applyTimeScale(WorkTask& worker)
{
    const char* text = std::getenv("RAVO_TIME_SCALE");
    double factor = text ? std::atof(text) : 0.0;
    if (factor > 1.0) {
        static ScaledClock clock(factor);
        worker.link.setClock(&clock);
    }
}

int flashFirmware(CliContext& context, const std::string& file)
{
    CRavo_ConfigApp& app = context.app;
    WorkTask& worker = *app.worker;
    std::string path = firmwarePathFor(file, app.config.firmwareFolder);
    if (!readable(path)) {
        std::printf("File [%s] not found\n", file.c_str());
        return kExitFailed;
    }
    int mode = app.config.downloadMode;
    if (mode != JOB_FIRMWARE_BL && mode != JOB_FIRMWARE_FORCE)
        mode = JOB_FIRMWARE;
    uint16_t unit = app.config.currentUnitNumber();
    RequestLines lines = firmwareRequestLines(mode, unit, path);
    std::printf("%s\n", lines.status.c_str());
    std::fflush(stdout);
    app.log.write(lines.log);

    worker.unitNumber = unit;
    worker.firmwarePath = path;
    applyTimeScale(worker);
    if (runJob(context, mode) != 0)
        return kExitFailed;
    return worker.jobResult == 0 ? kExitOk : kExitFailed;
}

}  // namespace

CliCommand firmwareCommand()
{
    auto file = std::make_shared<std::string>();
    auto list = std::make_shared<bool>(false);
    auto flash = std::make_shared<bool>(false);
    return {"firmware",
            "Firmware files: 'firmware list' shows the firmware folder; 'firmware flash FILE' installs FILE "
            "(--unit BL: the unit waits in its bootloader; --unit NNNN*: forced bootloader entry).",
            [file, list, flash](CLI::App& sub) {
                sub.require_subcommand(1);
                sub.add_subcommand("list", "List the firmware files of the firmware folder; * marks the default choice.")
                    ->callback([list] { *list = true; });
                CLI::App* flashCommand = sub.add_subcommand("flash", "Download a firmware file into the unit.");
                flashCommand->add_option("FILE", *file, "The .enc file (a name alone is looked for in the firmware folder)")
                    ->required();
                flashCommand->callback([flash] { *flash = true; });
            },
            [file, list, flash](CliContext& context) {
                if (*list)
                    return listFirmware(context);
                if (*flash)
                    return flashFirmware(context, *file);
                return int(kExitUsage);
            }};
}

}  // namespace ravo::cli
