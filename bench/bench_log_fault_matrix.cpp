// Every log of a simulated unit downloaded under each of the simulator's link
// faults, for a few seeds: the real worker and link against the unit in this
// process, with the link timing of 115200 baud and a 5 ms turnaround, on a
// virtual clock (no real waiting). One row per log: fault, seed, log, result,
// link seconds and the bound it must stay within.
//
//   bench_log_fault_matrix [seeds (default 3)]
//
// "complete" means the delivered log is the unit's byte for byte; "incomplete"
// that the job reported it incomplete; "WRONG" a different log reported
// complete, or a run over its bound.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "link/clock.h"
#include "sim/sim_fault_matrix.h"

int main(int argc, char** argv)
{
    int seedCount = argc > 1 ? std::atoi(argv[1]) : 3;
    if (seedCount < 1)
        seedCount = 1;
    std::vector<uint64_t> seeds;
    for (int i = 1; i <= seedCount; ++i)
        seeds.push_back(uint64_t(i));
    ravo::ManualClock clock;
    std::printf("%-8s %4s  %-9s %-10s %9s %9s\n", "fault", "seed", "log", "result", "seconds", "bound");
    int wrong = 0;
    auto started = std::chrono::steady_clock::now();
    auto rows = ravo::sim::runLogFaultMatrix(seeds, clock, [&](const ravo::sim::FaultRun& run) {
        char log[16];
        std::snprintf(log, sizeof log, "%s %d", run.dive ? "dive" : "redbox", run.index);
        std::printf("%-8s %4llu  %-9s %-10s %9.2f %9.1f\n", run.fault.c_str(), (unsigned long long)run.seed, log,
                    run.resultText(), run.seconds, run.boundSeconds);
        std::fflush(stdout);
        if (!run.sound())
            ++wrong;
    });
    double real = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%zu runs, %d wrong, %.1f s of real time\n", rows.size(), wrong, real);
    return wrong == 0 ? 0 : 1;
}
