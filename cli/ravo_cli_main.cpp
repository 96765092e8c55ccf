#include <clocale>
#include <cstdio>
#include <memory>

#include "cli/commands.h"
#include "cli/service_code_option.h"
#include "sim/sim_registration.h"

namespace ravo::cli {

std::vector<CliCommand> commandTable()
{
    return {
        connectCommand(),
        infoCommand(),
        setCommand(),
        settingsCommand(),
        powerDownCommand(),
        divesCommand(),
        diveCommand(),
        redboxCommand(),
        savedCommand(),
        showCommand(),
        firmwareCommand(),
        fixSerialCommand(),
        checkUpdateCommand(),
    };
}

}  // namespace ravo::cli

namespace {

int runCli(int argc, char** argv)
{
    using namespace ravo;
    using namespace ravo::cli;

    CLI::App cliApp{"Ravo_Config v1.35 command line: talks to a Ravo rebreather unit over its infrared link."};
    cliApp.require_subcommand(1);
    std::string linkOverride;
    std::string unitText;
    cliApp.add_option("--link", linkOverride,
                      "Link address for this run: tcp:HOST:PORT, serial:DEVICE[@BAUD], irda, sim[:PRESET]");
    std::string serviceCode;
    ServiceCodeSource serviceSource;
    CLI::Option* serviceOption =
        cliApp.add_option("--service-code", serviceCode, "Service code, entered before the command (service mode)");
    cliApp.add_option("--service-cdata", serviceSource.encipheredText,
                      "The enciphered service code (hexadecimal pairs) to check --service-code against");
    cliApp.add_option("--manifest", serviceSource.manifestPath,
                      "A local update manifest file whose service code --service-code is checked against");
    cliApp.add_option("--unit", unitText, "Unit number as typed in the unit number box (\"1234\", \"BL\", \"1234*\")");

    std::vector<CliCommand> table = commandTable();
    CliCommand* chosen = nullptr;
    for (CliCommand& command : table) {
        CLI::App* sub = cliApp.add_subcommand(command.name, command.description);
        command.addOptions(*sub);
        sub->callback([&chosen, &command] { chosen = &command; });
    }

    try {
        cliApp.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        int code = cliApp.exit(e);
        return code == 0 ? kExitOk : kExitUsage;
    }
    if (!chosen)
        return kExitUsage;

    CRavo_ConfigApp app;
    std::string error;
    if (!app.startUp(nullptr, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kExitFailed;
    }
    if (!unitText.empty())
        app.config.setUnitNumberText(unitText);
    // The override is for this run only: the stored LINK entry keeps its value.
    if (!linkOverride.empty())
        app.worker->link.setAddress(linkOverride);

    if (serviceOption->count() > 0)
        enterServiceCodeOption(app, serviceCode, serviceSource);

    CliContext context{app, unitText};
    int result = chosen->run(context);
    app.shutDown();
    return result;
}

}  // namespace

int main(int argc, char** argv)
{
    // The user's locale stays in force for everything but the texts the
    // program writes, which are formatted in the C locale.
    std::setlocale(LC_ALL, "");
    ravo::sim::registerSimTransport();
    return runCli(argc, argv);
}
