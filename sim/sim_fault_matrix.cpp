#include "sim/sim_fault_matrix.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <optional>

#include "jobs/work_task.h"
#include "settings/settings_backup.h"
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

// Waits for the job `task` runs; real time bounds only a hang, which
// `ended` reports (a run on a virtual clock takes milliseconds).
JobOutcome finished(WorkTask& task, bool* ended = nullptr)
{
    const bool inTime = task.waitFinished(120000);
    if (!inTime) {
        task.requestStop();
        task.waitFinished(120000);
    }
    if (ended)
        *ended = inTime;
    return task.lastOutcome();
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
    bool ended = true;
    const JobOutcome outcome = finished(task, &ended);
    run.seconds = ended ? double(clock.nowMs() - start) / 1000.0 : run.boundSeconds * 1000;  // a hang is late
    run.jobResult = outcome.code();
    run.delivered = catcher.delivered;
    run.identical = catcher.delivered && sameLog(catcher.log, expected, dive);
    return run;
}

// Remembers the directory the job read.
class DirectoryCatcher : public JobEvents {
public:
    void directoryRead(const LogDirectory& read) override { directory = read; }
    LogDirectory directory;
};

// A unit of the matrix under `fault`, registered under a fresh name.
std::shared_ptr<SimUnit> faultyUnit(const LinkFaultCase& fault, uint64_t seed, Clock& clock, std::string& name)
{
    static std::atomic<int> serial{0};
    SimState state = faultMatrixUnit(seed);
    fault.apply(state.faults, seed);
    state.timing.enabled = true;
    auto unit = std::make_shared<SimUnit>(state);
    unit->setClock(&clock);
    name = "fault-matrix-run-";
    name += std::to_string(++serial);
    registerSimUnit(name, unit);
    return unit;
}

template <typename T>
bool holds(const std::vector<T>& list, const T& value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

template <typename T>
FaultVerdict verdictOf(bool reportedFailure, bool namedAll, const std::vector<T>& missing, const std::vector<T>& named)
{
    if (!reportedFailure)
        return missing.empty() ? FaultVerdict::Complete : FaultVerdict::FalseSuccess;
    if (namedAll)
        return FaultVerdict::ReportedIncomplete;
    for (const T& m : missing)
        if (!holds(named, m))
            return FaultVerdict::SilentDrop;
    return FaultVerdict::ReportedIncomplete;
}

DirectoryFaultRun directoryRun(const LinkFaultCase& fault, uint64_t seed, Clock& clock)
{
    DirectoryFaultRun run;
    run.fault = fault.name;
    run.seed = seed;
    std::string name;
    auto unit = faultyUnit(fault, seed, clock, name);
    const std::vector<SimLog> logs = unit->state().diveLogs;
    run.dives = int(logs.size());
    WorkTask task;
    task.setLinkAddress("sim:" + name);
    task.setClock(&clock);

    DirectoryCatcher directory;
    task.start(DirectoryRequest{0x1234, LogKind::Dive, true}, directory);
    const JobOutcome read = finished(task);
    const LogDirectory& listed = directory.directory;
    // Unread entries are named; a directory the job did not read whole
    // without naming an entry (no connection, no count) names them all.
    run.named.assign(listed.unread.begin(), listed.unread.end());
    const bool whole = read.connected() && read.code() == 1 && listed.complete();
    run.namedAll = !whole && listed.unread.empty();
    run.reportedFailure = !whole;

    std::vector<bool> delivered(logs.size(), false);
    for (const CDiveInfo& entry : listed.entries) {
        if (!entry.valid)
            continue;
        LogCatcher catcher;
        CDiveInfo wanted;
        wanted.unitNumber = 0x1234;
        wanted.index = entry.index;
        task.start(LogsRequest{0x1234, LogKind::Dive, {wanted}}, catcher);
        const JobOutcome outcome = finished(task);
        const bool ok = outcome.connected() && outcome.code() == 1 && catcher.delivered;
        if (ok && entry.index < logs.size() && sameLog(catcher.log, logs[entry.index], true))
            delivered[entry.index] = true;
        if (!ok) {
            run.named.push_back(entry.index);
            run.reportedFailure = true;
        }
    }
    task.closeLink();
    for (size_t i = 0; i < logs.size(); ++i)
        if (!delivered[i])
            run.missing.push_back(int(i));
    return run;
}

// The file of the restore: the unit's settings with four rows changed.
UnitSettings changedSettings(const UnitSettings& unit, uint64_t seed)
{
    UnitSettings file = unit;
    file.metric = unit.metric ? 0 : 1;
    file.hudBrightness = unit.hudBrightness == 25 ? 50 : 25;
    file.setpointSurface = 0.5 + 0.01 * double(seed % 40);
    file.oxygenPercent = unit.oxygenPercent == 94 ? 95 : 94;
    return file;
}

std::optional<UnitSettings> readSettings(WorkTask& task)
{
    JobEvents quiet;
    task.start(ReadInfoRequest{0x1234, false, true}, quiet);
    const JobOutcome outcome = finished(task);
    const ReadInfoResult* read = outcome.as<ReadInfoResult>();
    if (!outcome.connected() || !read || !read->settings || !read->settings->valid)
        return std::nullopt;
    return *read->settings;
}

// `faults` moved on so that their first strike falls after what the unit
// has answered so far: `requests` and `replies` in all, `exchanges` on this
// connection.
SimFaults afterNow(SimFaults faults, const SimStats& now, int exchanges)
{
    if (faults.ignoreEvery > 0)
        faults.ignoreEvery += now.requests;
    if (faults.corruptEvery > 0)
        faults.corruptEvery += now.replies;
    if (faults.dropAfter > 0)
        faults.dropAfter += exchanges - 5;
    return faults;
}

RestoreFaultRun restoreRun(const LinkFaultCase& fault, uint64_t seed, bool fromFirstWrite, Clock& clock)
{
    RestoreFaultRun run;
    run.fault = fault.name;
    run.seed = seed;
    run.fromFirstWrite = fromFirstWrite;
    std::string name;
    auto unit = faultyUnit(fault, seed, clock, name);
    WorkTask task;
    task.setLinkAddress("sim:" + name);
    task.setClock(&clock);

    // What the unit holds before, read without the fault, gives the file.
    const SimFaults faults = unit->state().faults;
    unit->update([](SimState& s) { s.faults = SimFaults{}; });
    std::optional<UnitSettings> before = readSettings(task);
    task.closeLink();
    if (!before)
        return run;
    const UnitSettings file = changedSettings(*before, seed);
    std::vector<int> rows;
    for (const SettingDifference& d : settingsDifferences(*before, file))
        if (d.restorable)
            rows.push_back(d.rowId);
    run.rows = int(rows.size());

    // The restore as the command line runs it: read, then the restore job.
    if (!fromFirstWrite)
        unit->update([&](SimState& s) { s.faults = faults; });
    const int repliesBefore = unit->stats().replies;
    std::optional<UnitSettings> unitRead = readSettings(task);
    if (fromFirstWrite) {
        const SimFaults moved = afterNow(faults, unit->stats(), unit->stats().replies - repliesBefore);
        unit->update([&](SimState& s) { s.faults = moved; });
    }
    if (!unitRead) {
        run.reportedFailure = run.namedAll = true;
    } else {
        JobEvents quiet;
        task.start(RestoreRequest{file, rows, *unitRead, "fault-matrix.ini"}, quiet);
        const JobOutcome outcome = finished(task);
        const RestoreSettingsResult* result = outcome.as<RestoreSettingsResult>();
        if (!result) {
            run.reportedFailure = run.namedAll = true;
        } else {
            run.named = result->restore.notWritten;
            run.reportedFailure = !(result->restore.checked && result->restore.notWritten.empty());
        }
    }
    task.closeLink();

    // The truth, read without the fault.
    unit->update([](SimState& s) { s.faults = SimFaults{}; });
    std::optional<UnitSettings> after = readSettings(task);
    task.closeLink();
    const UnitSettings held = after ? *after : UnitSettings{};
    for (const SettingDifference& d : settingsDifferences(held, file))
        if (d.restorable && holds(rows, d.rowId))
            run.missing.push_back(d.name);
    return run;
}

}  // namespace

const char* verdictText(FaultVerdict verdict)
{
    switch (verdict) {
    case FaultVerdict::Complete: return "complete";
    case FaultVerdict::ReportedIncomplete: return "reported";
    case FaultVerdict::SilentDrop: return "SILENT DROP";
    case FaultVerdict::FalseSuccess: return "FALSE SUCCESS";
    }
    return "";
}

FaultVerdict DirectoryFaultRun::verdict() const
{
    return verdictOf(reportedFailure, namedAll, missing, named);
}

FaultVerdict RestoreFaultRun::verdict() const
{
    return verdictOf(reportedFailure, namedAll, missing, named);
}

std::vector<DirectoryFaultRun> runDirectoryFaultMatrix(const std::vector<uint64_t>& seeds, Clock& clock,
                                                       const std::function<void(const DirectoryFaultRun&)>& onRun)
{
    registerSimTransport();
    std::vector<DirectoryFaultRun> runs;
    for (const LinkFaultCase& fault : linkFaultCases())
        for (uint64_t seed : seeds) {
            runs.push_back(directoryRun(fault, seed, clock));
            if (onRun)
                onRun(runs.back());
        }
    return runs;
}

std::vector<RestoreFaultRun> runRestoreFaultMatrix(const std::vector<uint64_t>& seeds, Clock& clock,
                                                   const std::function<void(const RestoreFaultRun&)>& onRun)
{
    registerSimTransport();
    std::vector<RestoreFaultRun> runs;
    for (const LinkFaultCase& fault : linkFaultCases())
        for (uint64_t seed : seeds)
            for (bool fromFirstWrite : {false, true}) {
                runs.push_back(restoreRun(fault, seed, fromFirstWrite, clock));
                if (onRun)
                    onRun(runs.back());
            }
    return runs;
}

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
    registerSimTransport();
    std::vector<FaultRun> rows;
    for (const LinkFaultCase& fault : linkFaultCases()) {
        for (uint64_t seed : seeds) {
            std::string name;
            const SimState state = faultyUnit(fault, seed, clock, name)->state();
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
