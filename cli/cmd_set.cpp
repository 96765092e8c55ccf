#include <cstdio>
#include <memory>

#include "cli/commands.h"
#include "cli/settings_output.h"
#include "jobs/worker_edit_host.h"
#include "settings/entry_conversion.h"
#include "settings/settings_backup.h"

namespace ravo::cli {
namespace {

// The editors answered from the command line: VALUE is the entered text; a
// yes/no row takes one of its editor's two choice texts or one of the two
// texts the row shows, the clock "now" and the reset rows "RESET". Anything
// else is refused, like a dialog that was cancelled.
class CommandLineEditHost : public SettingEditHost {
public:
    CommandLineEditHost(std::string value, int rowId) : value_(std::move(value)), rowId_(rowId) {}

    bool showEditor(const EditorRequest& editor, std::string& entered) override
    {
        std::string rowTrue, rowFalse;
        const bool rowTexts = boolRowTexts(rowId_, rowTrue, rowFalse);
        switch (editor.kind) {
        case EditorKind::Bool:
            // The first choice of the editor stands for the value true.
            if (sameIgnoringCase(value_, editor.firstText) || (rowTexts && sameIgnoringCase(value_, rowTrue)))
                entered = editor.firstText;
            else if (sameIgnoringCase(value_, editor.secondText) || (rowTexts && sameIgnoringCase(value_, rowFalse)))
                entered = editor.secondText;
            else
                return refuse("Value must be \"" + editor.firstText + "\" or \"" + editor.secondText + "\"" +
                              (rowTexts ? " (or \"" + rowTrue + "\" / \"" + rowFalse + "\")" : ""));
            return true;
        case EditorKind::Clock:
            return sameIgnoringCase(value_, "now") || refuse("Value must be \"now\"");
        case EditorKind::Reset:
            return sameIgnoringCase(value_, "RESET") || refuse("Value must be \"RESET\"");
        case EditorKind::Int:
        case EditorKind::Real:
            // The editor's rule may change the entry (raised, lowered, onto a
            // step); the command goes on like the editor, but says so first.
            if (!enteredAsTyped(editor))
                notice("\"" + value_ + "\" is not kept as typed: the range is " + editor.rangeText +
                       ", so the editor's rule changes it");
            entered = value_;
            return true;
        }
        return false;
    }
    void notice(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    void requestReread() override { rereadRequested = true; }

    bool rereadRequested = false;

private:
    bool enteredAsTyped(const EditorRequest& editor) const
    {
        if (editor.kind == EditorKind::Int)
            return intEntryRefusal(value_, editor.intMin, editor.intMax, editor.intStep).empty();
        return realEntryRefusal(value_, editor.precision, editor.realMin, editor.realMax).empty();
    }
    bool refuse(const std::string& text)
    {
        notice(text);
        return false;
    }
    std::string value_;
    int rowId_;
};

struct SetOptions {
    std::string name;
    std::string value;
};

int finish(WorkTask& worker, int code)
{
    worker.closeLink();
    return code;
}

// The settings as the unit holds them now (read with the link kept open),
// invalid when the read failed.
UnitSettings readSettings(CliContext& context, bool settingsOnly)
{
    const JobOutcome outcome = runJob(context, ReadInfoRequest{context.app.config.currentUnitNumber(), settingsOnly, true});
    const ReadInfoResult* read = outcome.as<ReadInfoResult>();
    return read && read->settings ? *read->settings : UnitSettings{};
}

int setSetting(CliContext& context, const SetOptions& options)
{
    WorkTask& worker = *context.app.worker;
    const bool serviceMode = context.app.config.serviceUnlocked;
    UnitSettings settings = readSettings(context, false);
    if (!settings.valid) {
        reportJobFailure(context);
        return finish(worker, kExitFailed);
    }

    std::vector<SettingsRow> rows = buildSettingsRows(settings, serviceMode);
    std::vector<const SettingsRow*> matches = matchSettingsRows(rows, options.name);
    if (matches.empty()) {
        std::fprintf(stderr, "Unknown setting \"%s\"\n", options.name.c_str());
        return finish(worker, kExitFailed);
    }
    if (matches.size() > 1) {
        std::fprintf(stderr, "\"%s\" may mean several settings:\n", options.name.c_str());
        for (const SettingsRow* candidate : matches)
            std::fprintf(stderr, "  %s\n", candidate->name.c_str());
        return finish(worker, kExitFailed);
    }
    const SettingsRow* row = matches.front();
    const std::string rowName = row->name;
    const int rowId = row->rowId;
    UnitSettings record = settings;
    CommandLineEditHost host(options.value, row->rowId);
    EditOutcome outcome = editSettingOnUnit(worker, row->rowId, record, serviceMode, host);
    switch (outcome) {
    case EditOutcome::Sent: break;
    case EditOutcome::NotTaken:
        // The re-read below shows what the unit holds now.
        host.notice("The unit did not answer the write of \"" + rowName + "\"");
        break;
    case EditOutcome::NotEditable:
        // Service mode silences the notice; the command line still says why it failed.
        if (serviceMode)
            host.notice("Can not be changed");
        return finish(worker, kExitFailed);
    case EditOutcome::NotConnected:
        host.notice("No connection with unit");
        return finish(worker, kExitFailed);
    default: return finish(worker, kExitFailed);
    }

    if (host.rereadRequested)
        settings = readSettings(context, true);
    if (!settings.valid) {
        host.notice("The settings could not be read back: \"" + rowName + "\" is not confirmed");
        return finish(worker, kExitFailed);
    }
    rows = buildSettingsRows(settings, serviceMode);
    if (const SettingsRow* now = findSettingsRow(rows, rowName))
        printSettingsRow(*now);
    std::fflush(stdout);
    // The row must now hold what was sent, as the unit stores it (0.57 is
    // sent, and held, as 0.56).
    if (outcome != EditOutcome::Sent || !sameRowValue(rowId, settings, atUnitResolution(record, true))) {
        host.notice("The unit does not hold the new value of \"" + rowName + "\"");
        return finish(worker, kExitFailed);
    }
    return finish(worker, kExitOk);
}

}  // namespace

CliCommand setCommand()
{
    auto options = std::make_shared<SetOptions>();
    return {"set",
            "Read the unit, edit the setting row NAME (case ignored; a unique beginning is enough) with VALUE as "
            "the entered text, and print the row as the unit then holds it. Yes/no rows take the two texts the "
            "row shows or the editor's two choice texts, "
            "\"RTC time (UTC)\" takes \"now\", the reset rows \"RESET\".",
            [options](CLI::App& sub) {
                sub.add_option("NAME", options->name, "Name of the settings row, as \"info\" prints it")->required();
                sub.add_option("VALUE", options->value, "The value, as it would be typed into the editor")
                    ->required();
            },
            [options](CliContext& context) { return setSetting(context, *options); }};
}

}  // namespace ravo::cli
