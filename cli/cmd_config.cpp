#include <cctype>
#include <cstdio>
#include <memory>

#include "app/config_entries.h"
#include "cli/commands.h"
#include "cli/json_output.h"

namespace ravo::cli {
namespace {

struct ConfigOptions {
    bool set = false;
    std::string name;
    std::string value;
};

int printConfig(CliContext& context)
{
    const std::string location = context.app.storeLocation();
    std::vector<ConfigEntry> entries = configEntries(context.app.config);
    if (context.output.json) {
        // Every entry may hold a folder, so each is given losslessly too.
        Json values = Json::object();
        for (const ConfigEntry& entry : entries)
            putName(values, entry.name, entry.value);
        Json document = Json::object();
        putName(document, "store", location);
        document["entries"] = values;
        printJson(document);
        return kExitOk;
    }
    std::printf("Store\t%s\n", location.c_str());
    for (const ConfigEntry& entry : entries)
        std::printf("%s\t%s\n", entry.name.c_str(), entry.value.c_str());
    return kExitOk;
}

int setEntry(CliContext& context, const ConfigOptions& o)
{
    std::string error;
    const AppConfig before = context.app.config;
    switch (setConfigEntry(context.app.config, o.name, o.value, error)) {
    case ConfigSetResult::Changed: break;
    case ConfigSetResult::UnknownName:
    case ConfigSetResult::BadValue: std::fprintf(stderr, "%s\n", error.c_str()); return kExitUsage;
    }
    // Stored now, not at exit: a store that cannot be written is an error
    // here, with its reason, and nothing claims the new value.
    if (!context.app.saveConfig(error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        context.app.config = before;  // said once; the exit must not try again
        return kExitFailed;
    }
    // Shown as it is stored.
    std::string key = o.name;
    for (char& c : key)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    if (key.rfind("KTLS/", 0) != 0)
        key = "KTLS/" + key;
    for (const ConfigEntry& entry : configEntries(context.app.config))
        if (entry.name == key)
            std::printf("%s\t%s\n", entry.name.c_str(), entry.value.c_str());
    return kExitOk;
}

}  // namespace

CliCommand configCommand()
{
    auto options = std::make_shared<ConfigOptions>();
    return {"config",
            "Print the stored configuration entries (\"SECTION/NAME<TAB>value\") and where the store lives; "
            "'config set NAME VALUE' changes a folder (FWFOLDER, DIVEFOLDER, REDBOXFOLDER, DATAFOLDER) or the "
            "link address (LINK).",
            [options](CLI::App& sub) {
                CLI::App* set = sub.add_subcommand("set", "Change one entry: a folder or LINK.");
                set->add_option("NAME", options->name, "FWFOLDER, DIVEFOLDER, REDBOXFOLDER, DATAFOLDER or LINK")
                    ->required();
                set->add_option("VALUE", options->value, "The folder, or the link address")->required();
                set->callback([options] { options->set = true; });
            },
            [options](CliContext& context) {
                return options->set ? setEntry(context, *options) : printConfig(context);
            },
            true};
}

}  // namespace ravo::cli
