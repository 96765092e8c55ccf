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

// How a run that reads and downloads or restores under a fault ended, as the
// user would learn it.
enum class FaultVerdict {
    Complete,           // everything arrived (byte for byte / on the unit) and success reported
    ReportedIncomplete, // failure reported, and every piece that did not arrive named
    SilentDrop,         // failure reported, but a piece that did not arrive not named
    FalseSuccess,       // success reported for work not done
};
const char* verdictText(FaultVerdict verdict);

// A directory read followed by the download of every dive it listed, as
// `dives --new` does it, from faultMatrixUnit(seed) under one fault.
struct DirectoryFaultRun {
    std::string fault;
    uint64_t seed = 0;
    int dives = 0;                 // the unit holds
    std::vector<int> missing;      // dives not delivered byte for byte
    std::vector<int> named;        // dives the run names as not read or not downloaded
    bool namedAll = false;         // the run says the directory itself could not be read
    bool reportedFailure = false;
    FaultVerdict verdict() const;
};

// A settings restore of four changed rows onto faultMatrixUnit(seed) under
// one fault, as `settings restore` does it; the unit read again without the
// fault afterwards to see what it holds. The fault strikes from the start,
// or (fromFirstWrite) its counts start after the unit was read, so that it
// falls on the writes and the read back.
struct RestoreFaultRun {
    std::string fault;
    uint64_t seed = 0;
    bool fromFirstWrite = false;
    int rows = 0;                  // rows the file changes
    std::vector<std::string> missing;  // rows the unit does not hold afterwards
    std::vector<std::string> named;    // rows the run names as not written or not confirmed
    bool namedAll = false;         // the run says the unit could not be read: nothing written
    bool reportedFailure = false;
    FaultVerdict verdict() const;
};

// Every fault of linkFaultCases() for every seed (restores: both ways), on `clock`.
std::vector<DirectoryFaultRun> runDirectoryFaultMatrix(const std::vector<uint64_t>& seeds, Clock& clock,
                                                       const std::function<void(const DirectoryFaultRun&)>& onRun = {});
std::vector<RestoreFaultRun> runRestoreFaultMatrix(const std::vector<uint64_t>& seeds, Clock& clock,
                                                   const std::function<void(const RestoreFaultRun&)>& onRun = {});

}  // namespace ravo::sim
