#pragma once
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "app/ravo_config_app.h"

namespace ravo::cli {

// Exit status of ravo-cli.
enum ExitCode { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

// How this run reports: --quiet drops progress bars and status lines (results
// and errors stay); --json keeps standard output for the one JSON document,
// so status lines go to standard error.
struct OutputMode {
    bool quiet = false;
    bool json = false;

    // Where status lines go, or null when they are not shown.
    std::FILE* statusStream() const { return quiet ? nullptr : json ? stderr : stdout; }
};

// What a command's run function gets: the started application and the
// global options.
struct CliContext {
    CRavo_ConfigApp& app;
    std::string unitText;  // --unit as typed, empty when not given
    OutputMode output;
};

// One subcommand: its name, one-line description, the options it adds to its
// own CLI11 subcommand, and what it runs (returning an ExitCode).
struct CliCommand {
    std::string name;
    std::string description;
    std::function<void(CLI::App& sub)> addOptions;
    std::function<int(CliContext& context)> run;
    // The command prints its result as JSON under --json.
    bool json = false;
};

class StatusPrinter;

// Runs one job on the worker and waits for it to end; its events go to
// `printer`, or to a StatusPrinter of the context's output mode when null.
// Ctrl-C asks the job to stop. When the link could not be reached the reason
// (the address and what the transport said) goes to standard error. Returns
// how the job ended (connected() false when the link did not connect).
JobOutcome runJob(CliContext& context, JobRequest request, StatusPrinter* printer = nullptr);
// True once Ctrl-C was pressed during a job of this run.
bool jobInterrupted();

// Reports a failed job for a script: under --quiet the job's last status
// line goes to standard error (shown lines already said it otherwise).
void reportJobFailure(CliContext& context);

}  // namespace ravo::cli
