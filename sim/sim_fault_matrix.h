#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/clock.h"
#include "sim/sim_state.h"

namespace ravo::sim {

// One link fault of the simulated unit, its strength chosen from a seed.
struct LinkFaultCase {
    std::string name;
    std::function<void(SimFaults&, uint64_t seed)> apply;
};

// No fault, then noise, split replies, corrupt every n-th reply, ignored
// requests, short data replies, and a link dropped after a few exchanges.
const std::vector<LinkFaultCase>& linkFaultCases();

// One log downloaded by the worker from a faulty unit.
struct FaultRun {
    std::string fault;
    uint64_t seed = 0;
    bool dive = true;
    int index = 0;
    int jobResult = 0;
    bool delivered = false;    // the job handed a log over (to be saved)
    bool identical = false;    // the delivered log is the unit's, byte for byte
    double seconds = 0;        // link time the job took, on the run's clock
    double boundSeconds = 0;   // what it may take: every request's tries waited out
    // The outcome the log must have: identical and reported complete; reported
    // incomplete; or failed with nothing handed over. Never a different log
    // reported complete or handed over unmarked, never late.
    bool sound() const;
    const char* resultText() const;  // "complete", "incomplete", "failed" or "WRONG"
};

// The unit the matrix downloads from for `seed`: two dives and a redbox log.
SimState faultMatrixUnit(uint64_t seed);

// Downloads every log of faultMatrixUnit(seed) under every fault for every
// seed, through the real worker and link to the unit in this process, on
// `clock` (a virtual clock runs it without real waits). `onRun` (optional)
// sees each row as it ends.
std::vector<FaultRun> runLogFaultMatrix(const std::vector<uint64_t>& seeds, Clock& clock,
                                        const std::function<void(const FaultRun&)>& onRun = {});

}  // namespace ravo::sim
