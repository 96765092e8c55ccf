#pragma once
#include <vector>

#include "cli/cli_context.h"

namespace ravo::cli {

CliCommand connectCommand();
CliCommand firmwareCommand();
CliCommand fixSerialCommand();
CliCommand checkUpdateCommand();
CliCommand infoCommand();
CliCommand setCommand();
CliCommand settingsCommand();
CliCommand powerDownCommand();
CliCommand divesCommand();
CliCommand diveCommand();
CliCommand redboxCommand();
CliCommand savedCommand();
CliCommand showCommand();
CliCommand logbookCommand();
CliCommand configCommand();
CliCommand presetsCommand();
CliCommand exportCommand();
CliCommand healthCommand();

// Every subcommand, in the order --help lists them.
std::vector<CliCommand> commandTable();

}  // namespace ravo::cli
