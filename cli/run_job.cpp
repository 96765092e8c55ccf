#include <csignal>

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

}  // namespace

int runJob(CliContext& context, int jobCode, MessageReceiver* receiver)
{
    WorkTask& worker = *context.app.worker;
    StatusPrinter printer;
    g_stopFlag = &worker.stopRequested;
    auto previous = std::signal(SIGINT, onInterrupt);
    worker.start(jobCode, receiver ? receiver : &printer);
    while (!worker.waitFinished(200)) {
    }
    std::signal(SIGINT, previous);
    g_stopFlag = nullptr;
    // The receiver may end after this; a link kept open must not report to it.
    worker.link.notifyWindow = nullptr;
    worker.notifyWindow = nullptr;
    return worker.exitCode();
}

bool jobInterrupted()
{
    return g_interrupted.load();
}

}  // namespace ravo::cli
