#include <csignal>

#include "cli/cli_context.h"
#include "cli/status_printer.h"

namespace ravo::cli {
namespace {

std::atomic<bool>* g_stopFlag = nullptr;

extern "C" void onInterrupt(int)
{
    if (g_stopFlag)
        g_stopFlag->store(true);
}

}  // namespace

int runJob(CliContext& context, int jobCode)
{
    WorkTask& worker = *context.app.worker;
    StatusPrinter printer;
    g_stopFlag = &worker.stopRequested;
    auto previous = std::signal(SIGINT, onInterrupt);
    worker.start(jobCode, &printer);
    while (!worker.waitFinished(200)) {
    }
    std::signal(SIGINT, previous);
    g_stopFlag = nullptr;
    // The printer ends here; a link kept open must not report to it later.
    worker.link.notifyWindow = nullptr;
    worker.notifyWindow = nullptr;
    return worker.exitCode();
}

}  // namespace ravo::cli
