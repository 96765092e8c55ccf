#include "sim/sim_signals.h"

#include <csignal>

namespace ravo::sim {
namespace {

std::atomic<bool>* g_stop = nullptr;
std::atomic<bool>* g_dump = nullptr;

void onSignal(int signal)
{
    if (signal == SIGUSR1)
        *g_dump = true;
    else
        *g_stop = true;
}

}  // namespace

void installSimSignals(std::atomic<bool>& stop, std::atomic<bool>& dump)
{
    g_stop = &stop;
    g_dump = &dump;
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGUSR1, onSignal);
    std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace ravo::sim
