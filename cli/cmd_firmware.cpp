#include <cstdio>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "jobs/job_codes.h"
#include "cli/json_output.h"
#include "firmware/file_util.h"
#include "firmware/firmware_check.h"
#include "firmware/firmware_list.h"
#include "firmware/regular_file.h"
#include "jobs/firmware_download.h"
#include "jobs/request_lines.h"

namespace ravo::cli {
namespace {

int listFirmware(CliContext& context)
{
    FirmwareFileList list;
    ListFirmwareFiles(list, context.app.config.firmwareFolder);
    const std::string folder = absolutePath(list.folder);
    int chosen = defaultFirmwareChoice(list.names, "");
    if (context.output.json) {
        Json files = Json::array();
        for (size_t i = 0; i < list.names.size(); ++i) {
            Json file = Json::object();
            putName(file, "name", list.names[i]);
            putName(file, "path", joinFolder(folder, list.names[i]));
            file["default"] = int(i) == chosen;
            files.push_back(file);
        }
        Json document = Json::object();
        putName(document, "folder", folder);
        document["files"] = files;
        printJson(document);
        return kExitOk;
    }
    std::fprintf(stderr, "Firmware folder: %s\n", folder.c_str());
    if (list.names.empty()) {
        std::printf("<no file avalible>\n");
        return kExitOk;
    }
    for (size_t i = 0; i < list.names.size(); ++i)
        std::printf("%s %s\n", int(i) == chosen ? "*" : " ", list.names[i].c_str());
    return kExitOk;
}

// Something is there under that name (a pipe too: it is refused by the
// check, never opened, as opening it would wait for a writer).
bool present(const std::string& path)
{
    return !CheckRegularFile(path, kFirmwareFileMaxBytes).missing;
}

// The file as given, or else by that name in the firmware folder, as the
// unit view's list would give it.
std::string firmwarePathFor(const std::string& given, const std::string& folder)
{
    if (present(given) || given.find_first_of("/\\") != std::string::npos)
        return given;
    std::string inFolder = joinFolder(folder, given);
    return present(inFolder) ? inFolder : given;
}

int flashFirmware(CliContext& context, const std::string& file)
{
    CRavo_ConfigApp& app = context.app;
    std::string path = absolutePath(firmwarePathFor(file, app.config.firmwareFolder));
    FirmwareFileCheck check = checkFirmwareFile(path);
    if (!check.ok()) {
        // The unit view's status line; nothing is asked of the unit.
        std::FILE* out = context.output.statusStream();
        std::fprintf(out ? out : stderr, "%s\n", firmwareFileLine(path, check).c_str());
        return kExitFailed;
    }
    int mode = app.config.downloadMode;
    if (mode != JOB_FIRMWARE_BL && mode != JOB_FIRMWARE_FORCE)
        mode = JOB_FIRMWARE;
    uint16_t unit = app.config.currentUnitNumber();
    RequestLines lines = firmwareRequestLines(mode, unit, path);
    if (std::FILE* out = context.output.statusStream()) {
        std::fprintf(out, "%s\n", lines.status.c_str());
        std::fflush(out);
    }
    app.log.write(lines.log);

    const JobOutcome outcome = runJob(context, FirmwareRequest{unit, path, FirmwareMode(mode)});
    if (!outcome.connected())
        return kExitFailed;
    if (outcome.code() == 0)
        return kExitOk;
    reportJobFailure(context);
    const FirmwareResult* result = outcome.as<FirmwareResult>();
    if (result && result->bootloader == BootloaderState::Waiting)
        // The unit was sent to its bootloader and stays there until an image arrives.
        std::fprintf(stderr,
                     "The download did not finish; the unit waits in its bootloader. To continue: "
                     "ravo-cli --unit BL firmware flash %s\n",
                     path.c_str());
    return kExitFailed;
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
            },
            true};
}

}  // namespace ravo::cli
