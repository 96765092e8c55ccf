#include "sim/sim_signals.h"

#include <csignal>

namespace ravo::sim {
namespace {

std::atomic<bool>* g_stop = nullptr;

void onSignal(int)
{
    *g_stop = true;
}

}  // namespace

// No SIGUSR1 here: the "dump" command on standard input does its work.
void installSimSignals(std::atomic<bool>& stop, std::atomic<bool>&)
{
    g_stop = &stop;
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
}

}  // namespace ravo::sim
