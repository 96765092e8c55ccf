#include <csignal>
#include <cstdio>

#include "cli/cli_context.h"
#include "cli/status_printer.h"

namespace ravo::cli {
namespace {

std::atomic<bool>* g_stopFlag = nullptr;
std::atomic<bool> g_interrupted{false};

extern "C" void onInterrupt(int)
{
    g_interrupted.store(true);
    if (g_stopFlag)
        g_stopFlag->store(true);
}

// The status line says only that no unit was found; a technician needs to
// know where the program looked and what the transport said.
void explainLinkFailure(WorkTask& worker)
{
    const std::string& reason = worker.link.transportError.empty() ? worker.linkText : worker.link.transportError;
    std::fprintf(stderr, "Link %s: %s\n", worker.link.address().c_str(),
                 reason.empty() ? "no answer" : reason.c_str());
}

}  // namespace

int runJob(CliContext& context, int jobCode, StatusPrinter* receiver)
{
    WorkTask& worker = *context.app.worker;
    StatusPrinter printer(context.output, worker);
    g_stopFlag = &worker.stopRequested;
    // Closing the terminal (SIGHUP) or `timeout` (SIGTERM) stops a job like
    // Ctrl-C, so a stopped download still keeps what arrived.
    auto previous = std::signal(SIGINT, onInterrupt);
    auto previousTerm = std::signal(SIGTERM, onInterrupt);
#ifdef SIGHUP
    auto previousHup = std::signal(SIGHUP, onInterrupt);
#endif
    worker.start(jobCode, receiver ? receiver : &printer);
    while (!worker.waitFinished(200)) {
    }
    std::signal(SIGINT, previous);
    std::signal(SIGTERM, previousTerm);
#ifdef SIGHUP
    std::signal(SIGHUP, previousHup);
#endif
    g_stopFlag = nullptr;
    // The receiver may end after this; a link kept open must not report to it.
    worker.link.notifyWindow = nullptr;
    worker.notifyWindow = nullptr;
    int result = worker.exitCode();
    if (result != 0) {
        reportJobFailure(context);
        explainLinkFailure(worker);
    }
    return result;
}

bool jobInterrupted()
{
    return g_interrupted.load();
}

void reportJobFailure(CliContext& context)
{
    const char* line = context.app.worker->statusLine;
    if (context.output.quiet && line[0])
        std::fprintf(stderr, "%s\n", line);
}

}  // namespace ravo::cli
