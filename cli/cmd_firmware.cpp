#include <cstdio>
#include <memory>
#include <string>

#include <filesystem>

#include "cli/commands.h"
#include "cli/json_output.h"
#include "firmware/file_util.h"
#include "firmware/firmware_list.h"
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
        for (size_t i = 0; i < list.names.size(); ++i)
            files.push_back({{"name", list.names[i]},
                             {"path", joinFolder(folder, list.names[i])},
                             {"default", int(i) == chosen}});
        printJson({{"folder", folder}, {"files", files}});
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

const char kNotFound[] = "not found";

bool readable(const std::string& path)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    return file != nullptr;
}

// A firmware file must be a regular file that can be read: a folder, a
// device or a pipe would be read as an image or wait for ever. False with the
// reason in `error`.
bool checkFirmwareFile(const std::string& path, std::string& error)
{
    std::error_code ec;
    auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) {
        error = kNotFound;
        return false;
    }
    if (!std::filesystem::is_regular_file(status)) {
        error = "not a regular file";
        return false;
    }
    if (!readable(path)) {
        error = "can not be read";
        return false;
    }
    return true;
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

int flashFirmware(CliContext& context, const std::string& file)
{
    CRavo_ConfigApp& app = context.app;
    WorkTask& worker = *app.worker;
    std::string path = absolutePath(firmwarePathFor(file, app.config.firmwareFolder));
    std::string problem;
    if (!checkFirmwareFile(path, problem)) {
        // The unit view's status line for a file that is not there.
        std::FILE* out = context.output.statusStream();
        if (problem == kNotFound)
            std::fprintf(out ? out : stderr, "File [%s] not found\n", path.c_str());
        else
            std::fprintf(stderr, "Firmware file %s: %s\n", path.c_str(), problem.c_str());
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

    worker.unitNumber = unit;
    worker.firmwarePath = path;
    if (runJob(context, mode) != 0)
        return kExitFailed;
    if (worker.jobResult == 0)
        return kExitOk;
    reportJobFailure(context);
    if (worker.jobResult != kJobEndedEarly)
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
