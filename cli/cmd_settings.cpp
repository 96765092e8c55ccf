#include <cstdio>
#include <memory>

#include "cli/commands.h"
#include "divedata/text_file.h"
#include "firmware/file_util.h"
#include "settings/ini_file.h"
#include "settings/settings_backup.h"
#include "link/unit_time.h"

namespace ravo::cli {
namespace {

struct SettingsOptions {
    bool save = false;
    bool restore = false;
    std::string file;
    bool dryRun = false;
};

int finish(WorkTask& worker, int code)
{
    worker.closeLink();
    return code;
}

// What the unit read gave: its settings (invalid when the read failed), its
// number and its firmware version.
struct UnitRead {
    UnitSettings settings;
    uint16_t unitNumber = 0xFFFF;
    uint32_t firmwareVersion = 0;
};

// Reads the unit with the link kept open for the writes that may follow.
bool readUnit(CliContext& context, UnitRead& unit)
{
    unit.unitNumber = context.app.config.currentUnitNumber();
    const JobOutcome outcome = runJob(context, ReadInfoRequest{unit.unitNumber, false, true});
    const ReadInfoResult* read = outcome.as<ReadInfoResult>();
    unit.settings = read && read->settings ? *read->settings : UnitSettings{};
    unit.firmwareVersion = context.app.worker->versions().firmwareVersion();
    return outcome.connected() && unit.settings.valid;
}

int saveSettings(CliContext& context, const std::string& path)
{
    WorkTask& worker = *context.app.worker;
    UnitRead unit;
    if (!readUnit(context, unit))
        return finish(worker, kExitFailed);
    std::string text = settingsBackupText(unit.settings, unit.unitNumber, unit.firmwareVersion, currentUnitTime());
    std::string reason;
    if (WriteFileReplacing(path, text, &reason) != 0) {
        std::fprintf(stderr, "Could not write [%s]: %s\n", absolutePath(path).c_str(), reason.c_str());
        return finish(worker, kExitFailed);
    }
    std::printf("Settings of unit %04X saved to [%s]\n", unsigned(unit.unitNumber), path.c_str());
    return finish(worker, kExitOk);
}

void printDifferences(const std::vector<SettingDifference>& differences)
{
    if (differences.empty())
        std::printf("The unit holds the file's settings\n");
    // Name, unit's value, file's value; "*" marks a row the restore writes.
    for (const SettingDifference& d : differences)
        std::printf("%s%s\t%s\t%s\n", d.name.c_str(), d.restorable ? "*" : "", d.unitValue.c_str(),
                    d.fileValue.c_str());
    std::fflush(stdout);
}

int restoreFile(CliContext& context, const SettingsOptions& options)
{
    std::string text;
    SettingsBackup backup;
    std::string error;
    // A settings file is small: a pipe, a device or a huge file is refused
    // before it is read.
    std::string reason;
    if (!ReadWholeFile(options.file, text, kIniMaxBytes, &reason)) {
        std::fprintf(stderr, "Could not read [%s]: %s\n", absolutePath(options.file).c_str(), reason.c_str());
        return kExitFailed;
    }
    if (!parseSettingsBackup(text, backup, error)) {
        std::fprintf(stderr, "[%s]: %s\n", options.file.c_str(), error.c_str());
        return kExitFailed;
    }
    WorkTask& worker = *context.app.worker;
    UnitRead unit;
    if (!readUnit(context, unit))
        return finish(worker, kExitFailed);
    std::string mismatch = backupMismatch(backup, unit.unitNumber, unit.firmwareVersion);
    if (!mismatch.empty()) {
        std::fprintf(stderr, "%s\n", mismatch.c_str());
        return finish(worker, kExitFailed);
    }
    std::vector<SettingDifference> differences = settingsDifferences(unit.settings, backup.record);
    printDifferences(differences);
    if (options.dryRun)
        return finish(worker, kExitOk);

    std::vector<int> rows;
    for (const SettingDifference& d : differences)
        if (d.restorable)
            rows.push_back(d.rowId);
    // The window's restore job: the writes, then the settings read back and
    // compared with the file.
    const JobOutcome outcome = runJob(context, RestoreRequest{backup.record, rows, unit.settings, options.file});
    const RestoreSettingsResult* restored = outcome.as<RestoreSettingsResult>();
    if (!restored) {
        std::fprintf(stderr, "No connection with the unit: nothing was written\n");
        return finish(worker, kExitFailed);
    }
    for (const std::string& text : restored->notices)
        std::fprintf(stderr, "%s\n", text.c_str());
    const RestoreResult& result = restored->restore;
    if (result.failure == EditOutcome::NotConnected || result.failure == EditOutcome::Ignored)
        std::fprintf(stderr, "No connection with the unit\n");
    for (const std::string& name : result.notWritten)
        std::fprintf(stderr, "%s: %s\n", result.checked ? "Not on the unit" : "Not confirmed", name.c_str());
    if (result.written == restored->requested)
        std::printf("%d rows written\n", result.written);
    else
        std::printf("%d of %d rows written\n", result.written, restored->requested);
    const bool ok = result.checked && result.notWritten.empty();
    return finish(worker, ok ? kExitOk : kExitFailed);
}

}  // namespace

CliCommand settingsCommand()
{
    auto options = std::make_shared<SettingsOptions>();
    return {"settings",
            "Settings backup: 'settings save FILE' reads the unit and writes its settings to FILE (INI text); "
            "'settings restore FILE' writes back the rows whose value differs (--dry-run: only print them).",
            [options](CLI::App& sub) {
                sub.require_subcommand(1);
                CLI::App* save = sub.add_subcommand("save", "Read the unit and save its settings to FILE.");
                save->add_option("FILE", options->file, "The settings file to write")->required();
                save->callback([options] { options->save = true; });
                CLI::App* restore = sub.add_subcommand(
                    "restore", "Print the rows whose value differs from FILE (name, unit, file; * = written) "
                               "and write them to the unit.");
                restore->add_option("FILE", options->file, "A file written by 'settings save'")->required();
                restore->add_flag("--dry-run", options->dryRun, "Print the differences, write nothing");
                restore->callback([options] { options->restore = true; });
            },
            [options](CliContext& context) {
                if (options->save)
                    return saveSettings(context, options->file);
                if (options->restore)
                    return restoreFile(context, *options);
                return int(kExitUsage);
            }};
}

}  // namespace ravo::cli
