#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "divedata/log_handover.h"
#include "divedata/sample_csv.h"
#include "jobs/work_task.h"
#include "link/c_format.h"
#include "support/recording_events.h"
#include "support/temp_dir.h"
#include "tests/divedata_jobs/fake_unit.h"

namespace ravo::test {
namespace {

// The link's pauses run 20 times faster; a reply the unit sends is waited for
// in real time, a reply it never sends costs 125 real ms.
constexpr double kTimeScale = 20.0;
constexpr uint32_t kReplyWaitMs = 2500;

using Kind = RecordingEvents::Kind;

class LogJobs : public ::testing::Test {
protected:
    void SetUp() override
    {
        peer = std::make_unique<LinkScriptPeer>([this](const ReceivedRequest& r) { return unit.answer(r); });
        peer->letSilenceExpire(&clock, kReplyWaitMs);
        task.setLinkAddress(peer->address());
        task.setClock(&clock);
    }

    // Runs a job; returns its lines after the connect line.
    std::vector<std::string> run(JobRequest request)
    {
        receiver.clear();
        task.start(std::move(request), receiver);
        EXPECT_TRUE(task.waitFinished(60000));
        std::vector<std::string> lines = receiver.lines();
        if (!lines.empty() && lines[0].rfind("Connect to unit", 0) == 0)
            lines.erase(lines.begin());
        return lines;
    }

    std::vector<std::string> directory(LogKind kind) { return run(DirectoryRequest{unit.unitNumber, kind, false}); }
    std::vector<std::string> log(LogKind kind, uint16_t index)
    {
        CDiveInfo entry;
        entry.index = index;
        return run(LogsRequest{unit.unitNumber, kind, {entry}});
    }
    // The directory the last directory job read.
    LogDirectory read() const
    {
        const auto all = receiver.directories();
        return all.empty() ? LogDirectory{} : all.back();
    }
    int delivered() const { return int(receiver.logs().size()); }
    CDiveLog lastLog() const { return receiver.logs().empty() ? CDiveLog{} : receiver.logs().back(); }

    PatientClock clock{kTimeScale};
    FakeUnit unit;
    std::unique_ptr<LinkScriptPeer> peer;
    WorkTask task;
    RecordingEvents receiver;
};

TEST_F(LogJobs, EmptyDiveDirectory)
{
    EXPECT_EQ(directory(LogKind::Dive), std::vector<std::string>{"Read divelog info ... done"});
    EXPECT_TRUE(read().entries.empty());
    EXPECT_TRUE(read().complete());
}

TEST_F(LogJobs, DiveDirectoryWithAnUnreadableMiddleEntry)
{
    unit.dives = {makeFakeLog(100, 30, 1), makeFakeLog(200, 5, 2), makeFakeLog(300, 0, 3)};
    unit.silentEntry = 1;
    EXPECT_EQ(directory(LogKind::Dive),
              (std::vector<std::string>{"Read divelog info 0 (3)", "Read divelog info 1 (3)",
                                        "Read divelog info 1 - failed", "Read divelog info 2 (3)",
                                        "Read divelog info ... incomplete: 1 of 3 entries not read"}));
    EXPECT_EQ(task.lastOutcome().code(), 0) << "a directory with an entry not read is not done";
    const LogDirectory dives = read();
    ASSERT_EQ(dives.entries.size(), 3u);
    const CDiveInfo& first = dives.entries[0];
    EXPECT_EQ(first.valid, 1);
    EXPECT_EQ(first.unitNumber, 0x1234u);
    EXPECT_EQ(first.index, 0);
    EXPECT_EQ(first.startTime, 100u);
    EXPECT_EQ(first.recordCount, 30u);
    EXPECT_EQ(first.auxWord, 3);
    EXPECT_EQ(dives.entries[1].valid, 0);
    EXPECT_EQ(dives.entries[1].startTime, 0u);
    EXPECT_EQ(dives.entries[2].index, 2);
    EXPECT_EQ(dives.unread, std::vector<uint16_t>{1}) << "the entry that did not answer is named";
    EXPECT_FALSE(dives.complete());
}

TEST_F(LogJobs, RedboxDirectoryOfFiveEntries)
{
    for (uint8_t i = 0; i < 5; ++i)
        unit.redboxes.push_back(makeFakeLog(1000u * i, 3, i));
    std::vector<std::string> lines = directory(LogKind::Redbox);
    EXPECT_EQ(lines, (std::vector<std::string>{"Read redbox info 0 of 4", "Read redbox info 1 of 4",
                                               "Read redbox info 2 of 4", "Read redbox info 3 of 4",
                                               "Read redbox info 4 of 4", "Read redboxlog info ... done"}));
    ASSERT_EQ(read().entries.size(), 5u);
    EXPECT_EQ(read().kind, LogKind::Redbox);
    EXPECT_EQ(read().entries[4].startTime, 4000u);
    EXPECT_EQ(task.linkForHelpers().unitFirmwareVersion, 0x4922u) << "versions read for the handshake";
}

TEST_F(LogJobs, RedboxHandshakeFailureEndsTheDirectoryJob)
{
    unit.refuseHandshake = true;
    EXPECT_EQ(directory(LogKind::Redbox), std::vector<std::string>{"Read redbox info failed...."});
}

TEST_F(LogJobs, DiveLogOfThirtyRecordsInTwoRequests)
{
    unit.dives = {makeFakeLog(7, 1, 0), makeFakeLog(1336314153 - 946684800, 30, 9)};
    EXPECT_EQ(log(LogKind::Dive, 1),
              (std::vector<std::string>{"Read dive info 1", "Read dive header 1", "Read dive logdata 1",
                                        "Read dive logdata 1 - 0 (30)", "Read dive logdata 1 - 25 (30)",
                                        "Read dive logdata ... done"}));
    EXPECT_EQ(unit.dataPositions, (std::vector<uint32_t>{0, 25}));
    ASSERT_EQ(delivered(), 1);
    const CDiveLog received = lastLog();
    EXPECT_TRUE(received.isDive);
    EXPECT_EQ(received.info.index, 1);
    EXPECT_EQ(received.info.recordCount, 30u);
    EXPECT_TRUE(received.header.valid);
    EXPECT_EQ(received.header.text, "Ravo_Config v1.35");
    EXPECT_EQ(0, std::memcmp(received.header.raw, unit.dives[1].header.data(), 256));
    ASSERT_EQ(received.samples.size(), 30u);
    EXPECT_EQ(received.samples[29], (CDiveDataRecord{290, 39, 38}));
    const auto progress = receiver.progressEvents();
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), (JobProgress{ProgressKind::LogRecords, 30, 30, 100}));
    EXPECT_EQ(task.lastOutcome().code(), 1);
}

TEST_F(LogJobs, LogOfNoRecordsIsDeliveredWithItsHeader)
{
    unit.dives = {makeFakeLog(5, 0, 4)};
    EXPECT_EQ(log(LogKind::Dive, 0), (std::vector<std::string>{"Read dive info 0", "Read dive header 0",
                                                                "Read dive logdata 0", "Read dive logdata ... done"}));
    EXPECT_EQ(delivered(), 1);
    EXPECT_TRUE(lastLog().samples.empty());
    EXPECT_TRUE(lastLog().header.valid);
    EXPECT_TRUE(unit.dataPositions.empty());
}

TEST_F(LogJobs, EntryClaimingTooManyRecordsIsNotDownloaded)
{
    unit.dives = {makeFakeLog(5, 2, 4)};
    unit.dives[0].claimedRecords = 1000001;
    EXPECT_EQ(log(LogKind::Dive, 0),
              (std::vector<std::string>{"Read dive info 0",
                                        "Read dive logdata 0 - 1000001 records is more than 1000000, not downloaded"}));
    EXPECT_EQ(delivered(), 0);
}

TEST_F(LogJobs, EntryTheUnitDoesNotAnswerEndsTheJobWithoutALog)
{
    unit.dives = {makeFakeLog(5, 2, 4)};
    EXPECT_EQ(log(LogKind::Dive, 3), (std::vector<std::string>{"Read dive info 3", "Read dive info 3 - failed."}));
    EXPECT_EQ(delivered(), 0);
    EXPECT_EQ(task.lastOutcome().code(), 0);
}

TEST_F(LogJobs, RedboxEntryTheUnitDoesNotAnswerEndsTheJobWithoutALog)
{
    unit.redboxes = {makeFakeLog(5, 2, 4)};
    EXPECT_EQ(log(LogKind::Redbox, 3), (std::vector<std::string>{"Read redbox info 3", "Read redbox info 3 - failed."}));
    EXPECT_EQ(delivered(), 0);
}

TEST_F(LogJobs, StopDuringTheBodyDeliversWhatArrived)
{
    unit.dives = {makeFakeLog(5, 100, 4)};
    receiver.onLine = [&](const std::string& line) {
        if (line == "Read dive logdata 0 - 25 (100)")
            task.requestStop();
    };
    std::vector<std::string> lines = log(LogKind::Dive, 0);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 4, lines.end()),
              (std::vector<std::string>{"Read dive logdata 0 - 0 (100)", "Read dive logdata 0 - 25 (100)",
                                        "User stopped....", "Read dive logdata ... done"}));
    EXPECT_EQ(delivered(), 1);
    EXPECT_EQ(lastLog().samples.size(), 50u);
    EXPECT_TRUE(lastLog().partial);
    EXPECT_EQ(task.lastOutcome().code(), kJobLogIncomplete);
}

TEST_F(LogJobs, UnitFallingSilentDeliversThePartialLogWithALine)
{
    unit.dives = {makeFakeLog(5, 100, 4)};
    unit.silentAfterDataRequests = 2;
    std::vector<std::string> lines = log(LogKind::Dive, 0);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
              (std::vector<std::string>{"Read dive logdata 0 - 50 (100)", "Read dive logdata 0 - failed at 50 (100)",
                                        "Read dive logdata ... done"}));
    EXPECT_EQ(lastLog().samples.size(), 50u);
    EXPECT_EQ(delivered(), 1);
}

TEST_F(LogJobs, RedboxLogReadsVersionsWhenNoneWereRead)
{
    unit.redboxes = {makeFakeLog(9, 3, 1), makeFakeLog(10, 27, 2)};
    unit.redboxes[1].header[25] = 43;
    unit.redboxes[1].header[26] = 0x34;
    unit.redboxes[1].header[27] = 0x12;
    EXPECT_EQ(log(LogKind::Redbox, 1),
              (std::vector<std::string>{"Read redbox info 1", "Read dive header 1", "Read redbox logdata 1",
                                        "Read redbox logdata 1 - 0 (27)", "Read redbox logdata 1 - 25 (27)",
                                        "Read redbox logdata ... done"}));
    ASSERT_EQ(delivered(), 1);
    EXPECT_FALSE(lastLog().isDive);
    EXPECT_EQ(lastLog().redboxHeader.unitSerial, 0x1234);
    EXPECT_EQ(lastLog().redboxHeader.layoutLevel, 43);
    EXPECT_EQ(lastLog().samples.size(), 27u);
    EXPECT_EQ(task.versions().firmwareVersion(), 0x4922u);
}

TEST_F(LogJobs, RedboxLogHandshakeFailureSendsNothing)
{
    unit.redboxes = {makeFakeLog(9, 3, 1)};
    unit.refuseHandshake = true;
    EXPECT_EQ(log(LogKind::Redbox, 0), (std::vector<std::string>{"Read redbox info 0", "Read redbox info 0 - failed."}));
    EXPECT_EQ(delivered(), 0);
}

TEST_F(LogJobs, DownloadedDiveIsSavedByteForByteThroughTheFiles)
{
    TempDir dir;
    unit.dives = {makeFakeLog(1336314153 - 946684800, 61, 5)};
    std::vector<std::string> names;
    LogHandover handover{dir.path(), nullptr, nullptr, &names};
    log(LogKind::Dive, 0);
    ASSERT_EQ(delivered(), 1);
    CDiveLog downloaded = lastLog();
    HandleLogDownloaded(downloaded, handover);
    ASSERT_EQ(names, std::vector<std::string>{"KTL_SN1234_2012-05-06_14-22-33_O"});
    std::vector<CDiveDataRecord> samples;
    ASSERT_EQ(ReadSamplesCsv(dir.file(names[0] + ".csv"), samples), 0);
    std::vector<uint8_t> bytes;
    for (const CDiveDataRecord& s : samples)
        bytes.insert(bytes.end(), {uint8_t(s.time), uint8_t(s.time >> 8), s.kind, s.value});
    EXPECT_EQ(bytes, unit.dives[0].body);
    std::string text = readFile(dir.file(names[0] + ".txt"));
    std::string hex;
    for (int i = 0; i < 256; ++i)
        hex += (i % 64 == 0 ? "\r\n" : "") + formatC(" %02X", unit.dives[0].header[size_t(i)]);
    EXPECT_EQ(text.substr(0, 19 + hex.size()), "Ravo_Config v1.35\r\n" + hex);
}

}  // namespace
}  // namespace ravo::test
