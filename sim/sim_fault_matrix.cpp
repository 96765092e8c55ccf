#include "sim/sim_fault_matrix.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>

#include "jobs/work_task.h"
#include "sim/sim_presets.h"
#include "sim/sim_registration.h"
#include "sim/sim_transport.h"
#include "sim/sim_unit.h"

namespace ravo::sim {
namespace {

// The longest a request may take: its five tries, each a reply wait of a
// little over 2.5 s.
constexpr double kRequestBoundSeconds = 5 * 2.6;

// Keeps a copy of the log the worker hands over.
class LogCatcher : public JobEvents {
public:
    void logDownloaded(const CDiveLog& downloaded) override
    {
        log = downloaded;
        delivered = true;
    }
    CDiveLog log;
    bool delivered = false;
};

bool sameLog(const CDiveLog& got, const SimLog& unit, bool dive)
{
    const uint8_t* header = dive ? got.header.raw : got.redboxHeader.raw;
    if (std::memcmp(header, unit.header.data(), unit.header.size()) != 0)
        return false;
    if (got.samples.size() != unit.recordCount())
        return false;
    for (size_t i = 0; i < got.samples.size(); ++i) {
        const CDiveDataRecord& s = got.samples[i];
        const uint8_t* r = unit.records.data() + i * 4;
        if (s.time != uint16_t(r[0] | r[1] << 8) || s.kind != r[2] || s.value != r[3])
            return false;
    }
    return true;
}

double boundFor(const SimLog& log)
{
    // Versions, handshake, entry, header blocks, then the data blocks.
    const double requests = 4 + 3 + (log.recordCount() + 24) / 25;
    return requests * kRequestBoundSeconds;
}

FaultRun downloadOne(const std::string& unitName, const SimLog& expected, bool dive, int index, Clock& clock)
{
    FaultRun run;
    run.dive = dive;
    run.index = index;
    run.boundSeconds = boundFor(expected);
    WorkTask task;
    LogCatcher catcher;
    task.setLinkAddress("sim:" + unitName);
    task.setClock(&clock);
    CDiveInfo entry;
    entry.unitNumber = 0x1234;
    entry.index = uint16_t(index);
    const uint64_t start = clock.nowMs();
    task.start(LogsRequest{0x1234, dive ? LogKind::Dive : LogKind::Redbox, {entry}}, catcher);
    // Real time: a run on a virtual clock takes milliseconds; this only ends a hang.
    const bool ended = task.waitFinished(120000);
    run.seconds = double(clock.nowMs() - start) / 1000.0;
    if (!ended) {
        task.requestStop();
        task.waitFinished(120000);
        run.seconds = run.boundSeconds * 1000;  // reported as late
    }
    run.jobResult = task.lastOutcome().code();
    run.delivered = catcher.delivered;
    run.identical = catcher.delivered && sameLog(catcher.log, expected, dive);
    return run;
}

}  // namespace

bool FaultRun::sound() const
{
    if (seconds > boundSeconds)
        return false;
    if (jobResult == 1)
        return identical;
    return jobResult == kJobLogIncomplete || !delivered;
}

const char* FaultRun::resultText() const
{
    if (!sound())
        return "WRONG";
    if (jobResult == 1)
        return "complete";
    return jobResult == kJobLogIncomplete ? "incomplete" : "failed";
}

const std::vector<LinkFaultCase>& linkFaultCases()
{
    static const std::vector<LinkFaultCase> cases = {
        {"none", [](SimFaults&, uint64_t) {}},
        {"noise", [](SimFaults& f, uint64_t seed) { f.noiseBytes = 1 + int(seed % 7); }},
        {"split", [](SimFaults& f, uint64_t seed) { f.splitGapMs = 20 + int(seed * 37 % 400); }},
        {"corrupt", [](SimFaults& f, uint64_t seed) { f.corruptEvery = 2 + int(seed % 5); }},
        {"ignore", [](SimFaults& f, uint64_t seed) { f.ignoreEvery = 2 + int(seed % 6); }},
        {"short", [](SimFaults& f, uint64_t seed) { f.shortDataRecords = 1 + int(seed * 7 % 24); }},
        // Not a fault the retries can mend: shows the incomplete path.
        {"drop", [](SimFaults& f, uint64_t seed) { f.dropAfter = 6 + int(seed * 5 % 9); }},
    };
    return cases;
}

SimState faultMatrixUnit(uint64_t seed)
{
    const uint32_t small = 20 + uint32_t(seed * 13 % 60);
    const uint32_t large = 150 + uint32_t(seed * 61 % 200);
    return generatedUnit(0x4925, {small, large}, 1, seed);
}

std::vector<FaultRun> runLogFaultMatrix(const std::vector<uint64_t>& seeds, Clock& clock,
                                        const std::function<void(const FaultRun&)>& onRun)
{
    static std::atomic<int> serial{0};
    registerSimTransport();
    std::vector<FaultRun> rows;
    for (const LinkFaultCase& fault : linkFaultCases()) {
        for (uint64_t seed : seeds) {
            SimState state = faultMatrixUnit(seed);
            fault.apply(state.faults, seed);
            state.timing.enabled = true;
            auto unit = std::make_shared<SimUnit>(state);
            unit->setClock(&clock);
            const std::string name = "fault-matrix-" + std::to_string(++serial);
            registerSimUnit(name, unit);
            auto add = [&](const SimLog& log, bool dive, int index) {
                FaultRun run = downloadOne(name, log, dive, index, clock);
                run.fault = fault.name;
                run.seed = seed;
                rows.push_back(run);
                if (onRun)
                    onRun(run);
            };
            for (size_t i = 0; i < state.diveLogs.size(); ++i)
                add(state.diveLogs[i], true, int(i));
            for (size_t i = 0; i < state.redboxLogs.size(); ++i)
                add(state.redboxLogs[i], false, int(i));
        }
    }
    return rows;
}

}  // namespace ravo::sim
