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
//
// Then, under the same faults and seeds, a directory read followed by the
// download of every dive listed (as `dives --new`), and a settings restore
// of four rows (as `settings restore`), each counted as complete, reported
// incomplete (every missing dive or row named), silent drop (one not named)
// or false success (success said for work not done).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>
#include <vector>

#include "link/clock.h"
#include "sim/sim_fault_matrix.h"

namespace {

struct Tally {
    int runs = 0, complete = 0, reported = 0, silent = 0, falseSuccess = 0;
    void add(ravo::sim::FaultVerdict verdict)
    {
        ++runs;
        switch (verdict) {
        case ravo::sim::FaultVerdict::Complete: ++complete; break;
        case ravo::sim::FaultVerdict::ReportedIncomplete: ++reported; break;
        case ravo::sim::FaultVerdict::SilentDrop: ++silent; break;
        case ravo::sim::FaultVerdict::FalseSuccess: ++falseSuccess; break;
        }
    }
    void print(const char* what) const
    {
        std::printf("%s: %d runs, %d complete, %d correctly reported incomplete, %d silent drops, %d false successes\n",
                    what, runs, complete, reported, silent, falseSuccess);
    }
    bool sound() const { return silent == 0 && falseSuccess == 0; }
};

template <typename T>
std::string text(const T& value)
{
    if constexpr (std::is_same_v<T, std::string>)
        return value;
    else
        return std::to_string(value);
}

template <typename T>
std::string list(const std::vector<T>& values)
{
    if (values.empty())
        return "-";
    std::string out;
    for (const T& v : values) {
        if (!out.empty())
            out += ", ";
        out += text(v);
    }
    return out;
}

}  // namespace

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

    Tally directories, restores;
    std::printf("\n%-8s %4s  %-14s %s\n", "fault", "seed", "dives --new", "missing / named");
    ravo::sim::runDirectoryFaultMatrix(seeds, clock, [&](const ravo::sim::DirectoryFaultRun& run) {
        directories.add(run.verdict());
        std::printf("%-8s %4llu  %-14s %s / %s\n", run.fault.c_str(), (unsigned long long)run.seed,
                    ravo::sim::verdictText(run.verdict()), list(run.missing).c_str(),
                    run.namedAll ? "all" : list(run.named).c_str());
        std::fflush(stdout);
    });
    std::printf("\n%-8s %4s  %-6s %-14s %s\n", "fault", "seed", "from", "restore", "missing / named");
    ravo::sim::runRestoreFaultMatrix(seeds, clock, [&](const ravo::sim::RestoreFaultRun& run) {
        restores.add(run.verdict());
        std::printf("%-8s %4llu  %-6s %-14s %s / %s\n", run.fault.c_str(), (unsigned long long)run.seed,
                    run.fromFirstWrite ? "writes" : "start", ravo::sim::verdictText(run.verdict()),
                    list(run.missing).c_str(), run.namedAll ? "all" : list(run.named).c_str());
        std::fflush(stdout);
    });
    directories.print("dives --new");
    restores.print("settings restore");
    real = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%.1f s of real time in all\n", real);
    return wrong == 0 && directories.sound() && restores.sound() ? 0 : 1;
}
