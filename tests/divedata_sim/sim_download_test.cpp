// Dive and redbox logs downloaded from the simulated unit, end to end: the
// real link, worker and files, and ravo-cli as a separate process.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "divedata/log_handover.h"
#include "divedata/partial_log.h"
#include "divedata/sample_csv.h"
#include "divedata/saved_logs.h"
#include "jobs/work_task.h"
#include "link/c_format.h"
#include "sim/sim_presets.h"
#include "sim/sim_server.h"
#include "support/posix_facilities.h"
#include "support/recording_events.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace ravo::test {
namespace {

using sim::SimLog;
using sim::SimState;

// A simulated unit served over TCP on 127.0.0.1 from a thread of its own.
class SimThread {
public:
    explicit SimThread(SimState state) : unit_(std::make_shared<sim::SimUnit>(std::move(state))), server_(unit_)
    {
        std::string error;
        port_ = server_.listenTcp(0, error);
        EXPECT_GT(port_, 0) << error;
        thread_ = std::thread([this] { server_.run(stop_, [] {}); });
    }
    ~SimThread()
    {
        stop_ = true;
        thread_.join();
    }
    std::string address() const { return "tcp:127.0.0.1:" + std::to_string(port_); }

private:
    std::shared_ptr<sim::SimUnit> unit_;
    sim::SimServer server_;
    std::atomic<bool> stop_{false};
    int port_ = -1;
    std::thread thread_;
};

SimState preset(const std::string& name)
{
    SimState state;
    EXPECT_TRUE(sim::presetState(name, state));
    return state;
}

std::string baseName(const SimState& unit, const SimLog& log, bool dive)
{
    CDiveLog named;
    named.info.unitNumber = unit.unitNumber;
    named.info.startTime = log.startTime;
    return named.makeFileName(dive);
}

std::vector<uint8_t> recordBytes(const std::vector<CDiveDataRecord>& samples)
{
    std::vector<uint8_t> bytes;
    for (const CDiveDataRecord& s : samples)
        bytes.insert(bytes.end(), {uint8_t(s.time), uint8_t(s.time >> 8), s.kind, s.value});
    return bytes;
}

std::string hexLines(const std::array<uint8_t, 256>& header)
{
    std::string hex;
    for (int i = 0; i < 256; ++i)
        hex += (i % 64 == 0 ? "\r\n" : "") + formatC(" %02X", header[size_t(i)]);
    return hex;
}

// The saved pair of `log` holds exactly the unit's header and records.
void expectSavedDive(const std::string& folder, const SimState& unit, const SimLog& log, size_t records)
{
    std::string base = folder + "/" + baseName(unit, log, true);
    std::vector<CDiveDataRecord> samples;
    ASSERT_EQ(ReadSamplesCsv(base + ".csv", samples), 0) << base;
    std::vector<uint8_t> expected(log.records.begin(), log.records.begin() + long(records * 4));
    EXPECT_EQ(recordBytes(samples), expected) << base;
    std::string text = readFile(base + ".txt");
    EXPECT_EQ(text.substr(0, 19), "Ravo_Config v1.35\r\n");
    EXPECT_EQ(text.substr(19, 256 * 3 + 8), hexLines(log.header)) << base;
}

ProgramResult cli(const TempDir& home, std::vector<std::string> args)
{
    return test::runCliIn(home, args);
}

TEST(SimDownload, EveryDiveAndRedboxOfThePresetMatchesTheUnit)
{
    TempDir home;
    SimState unit = preset("default");
    ASSERT_GE(unit.diveLogs.size(), 2u);
    ProgramResult r = cli(home, {"--link", "sim", "--unit", "1234", "dives", "--new"});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    for (const SimLog& log : unit.diveLogs)
        expectSavedDive(home.file("dive"), unit, log, log.recordCount());
    EXPECT_NE(r.err.find(std::to_string(unit.diveLogs.size()) + " new dive(s), 0 already saved"), std::string::npos);

    for (size_t i = 0; i < unit.redboxLogs.size(); ++i) {
        std::string out = home.file("box" + std::to_string(i) + ".cvsr");
        ProgramResult box = cli(home, {"--link", "sim", "--unit", "1234", "redbox", std::to_string(i), "--out", out});
        ASSERT_EQ(box.exitCode, 0) << box.out << box.err;
        const SimLog& log = unit.redboxLogs[i];
        std::string text = readFile(out);
        std::string head = "Ravo_Config v1.35\r\nHEADER:" + hexLines(log.header) + "\r\nDATA:\r\n";
        ASSERT_EQ(text.substr(0, head.size()), head);
        std::vector<CDiveDataRecord> samples;
        ParseSamplesText(text.substr(head.size()), samples);
        EXPECT_EQ(recordBytes(samples), log.records);
    }
}

TEST(SimDownload, OldFirmwareRedboxUsesItsOwnMapAndHandshake)
{
    TempDir home;
    SimState unit = preset("fw4005");
    ASSERT_FALSE(unit.redboxLogs.empty());
    ProgramResult r = cli(home, {"--link", "sim:fw4005", "--unit", "1234", "redbox"});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("Read redboxlog info ... done\n0\t"), std::string::npos) << r.out;
}

// A worker on the simulated unit whose downloaded logs are saved as the main
// window saves them.
class SimWorker : public ::testing::Test {
protected:
    class SavingReceiver : public RecordingEvents {
    public:
        LogHandover handover;
        void logDownloaded(const CDiveLog& log) override
        {
            RecordingEvents::logDownloaded(log);
            CDiveLog copy = log;
            HandleLogDownloaded(copy, handover);
        }
    };

    void run(SimThread& sim, LogKind kind, uint16_t index)
    {
        receiver.handover.diveFolder = home.path();
        receiver.handover.savedDiveNames = &names;
        task.setLinkAddress(sim.address());
        task.setClock(&clock);
        CDiveInfo entry;
        entry.index = index;
        receiver.clear();
        task.start(LogsRequest{0x1234, kind, {entry}}, receiver);
        ASSERT_TRUE(task.waitFinished(60000)) << "the job must end";
    }
    int jobResult() const { return task.lastOutcome().code(); }

    TempDir home;
    PatientClock clock{20.0};
    WorkTask task;
    SavingReceiver receiver;
    std::vector<std::string> names;
};

TEST_F(SimWorker, CancelDuringTheBodySavesThePartialLog)
{
    SimState unit = preset("default");
    size_t pick = 0;
    for (size_t i = 0; i < unit.diveLogs.size(); ++i)
        if (unit.diveLogs[i].recordCount() > unit.diveLogs[pick].recordCount())
            pick = i;
    ASSERT_GT(unit.diveLogs[pick].recordCount(), 100u);
    SimThread sim(unit);
    const std::string stopAt = formatC("Read dive logdata %d - 50 (%u)", int(pick), unit.diveLogs[pick].recordCount());
    receiver.onLine = [&](const std::string& line) {
        if (line == stopAt)
            task.requestStop();
    };
    run(sim, LogKind::Dive, uint16_t(pick));
    EXPECT_TRUE(receiver.hasLine("User stopped...."));
    EXPECT_EQ(receiver.lines().back(), "Read dive logdata ... done");
    EXPECT_EQ(jobResult(), kJobLogIncomplete);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_TRUE(SavedDiveLogIsPartial(home.path(), names[0]));
    expectSavedDive(home.path(), unit, unit.diveLogs[pick], 75);
}

TEST_F(SimWorker, AnIncompleteDownloadNeverReplacesTheCompleteLog)
{
    SimState unit = sim::generatedUnit(0x4925, {300}, 0);
    {
        SimThread sim(unit);
        run(sim, LogKind::Dive, 0);
        EXPECT_EQ(jobResult(), 1);
    }
    const std::string base = home.file(baseName(unit, unit.diveLogs[0], true));
    const std::string before = readFile(base + ".txt") + readFile(base + ".csv");
    unit.faults.dropAfter = 6;  // entry, header, a few data blocks
    SimThread sim(unit);
    run(sim, LogKind::Dive, 0);
    EXPECT_EQ(jobResult(), kJobLogIncomplete);
    EXPECT_EQ(readFile(base + ".txt") + readFile(base + ".csv"), before);
    EXPECT_FALSE(SavedDiveLogIsPartial(home.path(), names.at(0)));
    expectSavedDive(home.path(), unit, unit.diveLogs[0], 300);
}

TEST_F(SimWorker, AFailedRedboxHeaderStartsFromZerosNotThePreviousLog)
{
    SimState unit = sim::generatedUnit(0x4925, {}, 2);
    std::string out;
    receiver.handover.chooseRedboxPath = [&](const std::string& proposed, std::string& chosen) {
        out = chosen = proposed;
        return true;
    };
    {
        SimThread sim(unit);
        run(sim, LogKind::Redbox, 0);
        ASSERT_EQ(jobResult(), 1);
    }
    // Versions, challenge, response, entry: the link drops at the header.
    unit.faults.dropAfter = 4;
    SimThread sim(unit);
    task.closeLink();
    run(sim, LogKind::Redbox, 1);
    EXPECT_TRUE(receiver.hasLine("Read redbox header 1 - failed.")) << testing::PrintToString(receiver.lines());
    EXPECT_EQ(jobResult(), kJobLogIncomplete);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(receiver.logs().at(0).redboxHeader.raw[i], 0) << i;
    EXPECT_TRUE(IsMarkedPartial(out));
}

TEST_F(SimWorker, DroppedLinkEndsWithThePartialLogSavedAndALine)
{
    SimState unit = preset("default");
    size_t pick = 0;
    for (size_t i = 0; i < unit.diveLogs.size(); ++i)
        if (unit.diveLogs[i].recordCount() > unit.diveLogs[pick].recordCount())
            pick = i;
    unit.faults.dropAfter = 12;  // entry, header blocks, then a few data blocks
    SimThread sim(unit);
    auto start = std::chrono::steady_clock::now();
    run(sim, LogKind::Dive, uint16_t(pick));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    std::vector<std::string> lines = receiver.lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.back(), "Read dive logdata ... done");
    EXPECT_NE(lines[lines.size() - 2].find(" - failed at "), std::string::npos) << lines[lines.size() - 2];
    ASSERT_EQ(names.size(), 1u);
    std::vector<CDiveDataRecord> samples;
    ASSERT_EQ(ReadSamplesCsv(home.file(names[0] + ".csv"), samples), 0);
    EXPECT_GT(samples.size(), 0u);
    EXPECT_LT(samples.size(), size_t(unit.diveLogs[pick].recordCount()));
    expectSavedDive(home.path(), unit, unit.diveLogs[pick], samples.size());
}

// ravo-cli started as a child whose end the test chooses.
pid_t startCli(const TempDir& home, const std::vector<std::string>& args)
{
    return startInBackground(RAVO_CLI_PATH, args, {{"HOME", home.path()}, {"XDG_CONFIG_HOME", home.path()}},
                             home.path());
}

TEST(SimDownloadKilled, EarlierSavedFilesStayIntact)
{
    if (!havePosixFacilities())
        GTEST_SKIP() << kNeedsPosix;
    TempDir home;
    SimState unit = sim::generatedUnit(0x4925, {40, 60, 1500, 1500}, 0);
    unit.timing.enabled = true;  // real link time, so the kill lands mid-download
    SimThread sim(unit);
    const std::string firstCsv = home.file("dive/" + baseName(unit, unit.diveLogs[1], true) + ".csv");
    pid_t pid = startCli(home, {"--link", sim.address(), "--unit", "1234", "dives", "--new"});
    ASSERT_GT(pid, 0);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!std::filesystem::exists(firstCsv) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_TRUE(std::filesystem::exists(firstCsv));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // inside the third dive's body
    ASSERT_TRUE(killHard(pid));

    std::vector<std::string> names;
    ListSavedDiveLogs(home.file("dive"), names);
    ASSERT_EQ(names.size(), 2u);
    expectSavedDive(home.file("dive"), unit, unit.diveLogs[0], 40);
    expectSavedDive(home.file("dive"), unit, unit.diveLogs[1], 60);

    // Run again: the rest arrives, the saved ones are not read again.
    ProgramResult again = cli(home, {"--link", sim.address(), "--unit", "1234", "dives", "--new"});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_NE(again.err.find("2 new dive(s), 2 already saved"), std::string::npos) << again.err;
    for (size_t i = 0; i < unit.diveLogs.size(); ++i)
        expectSavedDive(home.file("dive"), unit, unit.diveLogs[i], unit.diveLogs[i].recordCount());
}

// Ctrl-C inside a dive's body: the dive is saved marked partial and the run
// fails; the next "dives --new" fetches it again and completes it.
TEST(SimDownload, AnInterruptedDiveIsFetchedAgainAndCompleted)
{
    if (!havePosixFacilities())
        GTEST_SKIP() << kNeedsPosix;
    TempDir home;
    SimState unit = sim::generatedUnit(0x4925, {40, 3000}, 0);
    unit.timing.enabled = true;  // real link time, so the signal lands mid-download
    SimThread sim(unit);
    const std::string firstCsv = home.file("dive/" + baseName(unit, unit.diveLogs[0], true) + ".csv");
    const std::string partialBase = baseName(unit, unit.diveLogs[1], true);
    pid_t pid = startCli(home, {"--link", sim.address(), "--unit", "1234", "dives", "--new"});
    ASSERT_GT(pid, 0);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!std::filesystem::exists(firstCsv) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(interruptAndWait(pid), 1);

    std::vector<std::string> names;
    ListSavedDiveLogs(home.file("dive"), names);
    ASSERT_EQ(names.size(), 2u) << "a partial dive is listed once";
    ASSERT_TRUE(SavedDiveLogIsPartial(home.file("dive"), partialBase));
    std::vector<CDiveDataRecord> samples;
    ASSERT_EQ(ReadSamplesCsv(home.file("dive/" + partialBase + ".csv"), samples), 0);
    EXPECT_LT(samples.size(), 3000u);

    ProgramResult again = cli(home, {"--link", sim.address(), "--unit", "1234", "dives", "--new"});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_NE(again.err.find("1 new dive(s), 1 already saved"), std::string::npos) << again.err;
    EXPECT_FALSE(SavedDiveLogIsPartial(home.file("dive"), partialBase));
    for (const SimLog& log : unit.diveLogs)
        expectSavedDive(home.file("dive"), unit, log, log.recordCount());
}

}  // namespace
}  // namespace ravo::test
