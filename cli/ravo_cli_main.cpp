#include <clocale>
#include <csignal>
#include <cstdio>
#include <memory>

#include "cli/commands.h"
#include "cli/global_options.h"
#include "cli/service_code_option.h"
#include "link/std_streams.h"
#include "ravo_version.h"
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
        logbookCommand(),
        exportCommand(),
        healthCommand(),
        firmwareCommand(),
        fixSerialCommand(),
        checkUpdateCommand(),
        configCommand(),
        presetsCommand(),
    };
}

}  // namespace ravo::cli

namespace {

struct GlobalOptions {
    std::string link;
    std::string unit;
    std::string serviceCode;
    ravo::cli::ServiceCodeSource serviceSource;
    std::string tracePath;
    ravo::cli::OutputMode output;
};

void addGlobalOptions(CLI::App& cliApp, GlobalOptions& o, CLI::Option*& serviceOption)
{
    cliApp.add_option("--link", o.link,
                      "Link address for this run: tcp:HOST:PORT, serial:DEVICE[@BAUD], irda, sim[:PRESET|:FILE.json]");
    cliApp.add_option("--unit", o.unit, "Unit number as typed in the unit number box (\"1234\", \"BL\", \"1234*\")");
    serviceOption =
        cliApp.add_option("--service-code", o.serviceCode, "Service code, entered before the command (service mode)");
    cliApp
        .add_option("--service-cdata", o.serviceSource.encipheredText,
                    "The enciphered service code (hexadecimal pairs) to check --service-code against")
        ->needs(serviceOption);
    cliApp
        .add_option("--manifest", o.serviceSource.manifestPath,
                    "A local update manifest file whose service code --service-code is checked against")
        ->needs(serviceOption);
    cliApp.add_option("--trace", o.tracePath,
                      "Write every frame sent and received (time, direction, command, bytes) to this file");
    cliApp.add_flag("-q,--quiet", o.output.quiet, "No progress bars or status lines; results and errors stay");
    cliApp.add_flag("--json", o.output.json,
                    "Print the result as one JSON document (info, dives, redbox, saved, show, logbook, firmware list, "
                    "check-update); status lines go to standard error");
}

int runCli(int argc, char** argv)
{
    using namespace ravo;
    using namespace ravo::cli;

    CLI::App cliApp{RAVO_BANNER " command line: talks to a Ravo rebreather unit over its infrared link."};
    cliApp.require_subcommand(1);
    GlobalOptions o;
    CLI::Option* serviceOption = nullptr;
    addGlobalOptions(cliApp, o, serviceOption);

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
    if (o.output.json && !chosen->json) {
        std::fprintf(stderr, "--json: %s has no JSON output\n", chosen->name.c_str());
        return kExitUsage;
    }
    std::string error;
    if (!o.link.empty() && !checkLinkAddress(o.link, error)) {
        std::fprintf(stderr, "--link %s: %s\n", o.link.c_str(), error.c_str());
        return kExitUsage;
    }
    if (!o.unit.empty()) {
        std::string warning = unitNumberWarning(o.unit);
        if (!warning.empty())
            std::fprintf(stderr, "%s\n", warning.c_str());
    }

    CRavo_ConfigApp app;
    if (!app.startUp(nullptr, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kExitFailed;
    }
    for (const std::string& warning : app.config.loadWarnings)
        std::fprintf(stderr, "%s\n", warning.c_str());
    if (!o.unit.empty())
        app.config.setUnitNumberText(o.unit);
    // The override is for this run only: the stored LINK entry keeps its value.
    if (!o.link.empty())
        app.worker->setLinkAddress(o.link);
    applyTimeScale(app);
    std::shared_ptr<LinkTrace> trace;
    if (!o.tracePath.empty() && !(trace = startTrace(app, o.tracePath))) {
        app.shutDown();
        return kExitFailed;
    }

    if (serviceOption->count() > 0)
        enterServiceCodeOption(app, o.serviceCode, o.serviceSource);

    CliContext context{app, o.unit, o.output};
    int result = chosen->run(context);
    if (!app.shutDown())
        std::fprintf(stderr, "%s\n", app.configSaveError.c_str());
    // After the shutdown, which closes the link and so writes its last lines.
    if (trace && !finishTrace(*trace, o.tracePath) && result == kExitOk)
        result = kExitFailed;
    return result;
}

}  // namespace

int main(int argc, char** argv)
{
    // The user's locale stays in force for everything but the texts the
    // program writes, which are formatted in the C locale.
    std::setlocale(LC_ALL, "");
#ifdef SIGPIPE
    // A reader that stops early (ravo-cli info | head -3) ends the output,
    // not the program: the failed writes are dropped and the run ends normally.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    ravo::useUnchangedLineEnds();
    ravo::sim::registerSimTransport();
    return runCli(argc, argv);
}
