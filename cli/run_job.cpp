#include <csignal>
#include <cstdio>

#include "cli/cli_context.h"
#include "cli/status_printer.h"

namespace ravo::cli {
namespace {

WorkTask* g_worker = nullptr;
std::atomic<bool> g_interrupted{false};

extern "C" void onInterrupt(int)
{
    g_interrupted.store(true);
    if (g_worker)
        g_worker->requestStop();
}

// The status line says only that no unit was found; a technician needs to
// know where the program looked and what the transport said.
void explainLinkFailure(const WorkTask& worker, const JobOutcome& outcome)
{
    const std::string transport = worker.transportError();
    const std::string& reason = transport.empty() ? outcome.linkText : transport;
    std::fprintf(stderr, "Link %s: %s\n", worker.linkAddress().c_str(), reason.empty() ? "no answer" : reason.c_str());
}

}  // namespace

JobOutcome runJob(CliContext& context, JobRequest request, StatusPrinter* printer)
{
    WorkTask& worker = *context.app.worker;
    StatusPrinter quiet(context.output);
    g_worker = &worker;
    // Closing the terminal (SIGHUP) or `timeout` (SIGTERM) stops a job like
    // Ctrl-C, so a stopped download still keeps what arrived.
    auto previous = std::signal(SIGINT, onInterrupt);
    auto previousTerm = std::signal(SIGTERM, onInterrupt);
#ifdef SIGHUP
    auto previousHup = std::signal(SIGHUP, onInterrupt);
#endif
    const bool started = worker.start(std::move(request), printer ? *printer : quiet);
    while (started && !worker.waitFinished(200)) {
    }
    std::signal(SIGINT, previous);
    std::signal(SIGTERM, previousTerm);
#ifdef SIGHUP
    std::signal(SIGHUP, previousHup);
#endif
    g_worker = nullptr;
    if (!started)
        return {};
    JobOutcome outcome = worker.lastOutcome();
    if (!outcome.connected()) {
        reportJobFailure(context);
        explainLinkFailure(worker, outcome);
    }
    return outcome;
}

bool jobInterrupted()
{
    return g_interrupted.load();
}

void reportJobFailure(CliContext& context)
{
    const std::string line = context.app.worker->lastLine();
    if (context.output.quiet && !line.empty())
        std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace ravo::cli
