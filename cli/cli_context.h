#pragma once
#include <functional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "app/ravo_config_app.h"

namespace ravo::cli {

// Exit status of ravo-cli.
enum ExitCode { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

// What a command's run function gets: the started application and the
// global options.
struct CliContext {
    CRavo_ConfigApp& app;
    std::string unitText;  // --unit as typed, empty when not given
};

// One subcommand: its name, one-line description, the options it adds to its
// own CLI11 subcommand, and what it runs (returning an ExitCode).
struct CliCommand {
    std::string name;
    std::string description;
    std::function<void(CLI::App& sub)> addOptions;
    std::function<int(CliContext& context)> run;
};

// Runs one job on the worker and waits for it to end; its messages go to
// `receiver`, or to a StatusPrinter (lines printed as they come) when null.
// Ctrl-C asks the job to stop. Returns the worker's result (0 when the link
// connected, negative when it did not).
int runJob(CliContext& context, int jobCode, MessageReceiver* receiver = nullptr);
// True once Ctrl-C was pressed during a job of this run.
bool jobInterrupted();

}  // namespace ravo::cli
