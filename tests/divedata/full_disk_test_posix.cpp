// Saves that fail half-way, as on a full disk. The disk is made "full" for
// this process with a file size limit (RLIMIT_FSIZE, no root needed): a write
// past it fails with EFBIG as a full disk fails with ENOSPC. Files that pipes
// and devices stand in for are refused, never waited on.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "divedata/dive_log.h"
#include "divedata/download_plan.h"
#include "divedata/partial_log.h"
#include "divedata/sample_csv.h"
#include "divedata/saved_logs.h"
#include "divedata/text_file.h"
#include "firmware/regular_file.h"
#include "support/temp_dir.h"

using namespace ravo;
using ravo::test::readFile;
using ravo::test::TempDir;

namespace {

// Files this process writes may not grow past `bytes` while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old_); }

private:
    rlimit old_{};
};

CDiveLog longDive(uint32_t arrived)
{
    CDiveLog log;
    log.isDive = true;
    log.info.valid = 1;
    log.info.unitNumber = 0x1234;
    log.info.startTime = 849200000;
    log.info.recordCount = 12000;
    log.header.raw[0] = log.header.raw[1] = 0xFF;
    log.header.raw[9] = 0x42;
    log.header.Parse();
    for (uint32_t i = 0; i < arrived; ++i)
        log.samples.push_back({uint16_t(i), uint8_t(i % 3 ? 8 : 39), uint8_t(100 + i % 50)});
    log.partial = arrived < log.info.recordCount;
    return log;
}

// Kills the test instead of letting it hang when a read waits for ever.
struct HangGuard {
    HangGuard() { alarm(20); }
    ~HangGuard() { alarm(0); }
};

}  // namespace

// A longer partial download that cannot be written leaves the earlier partial
// files and their mark exactly as they were; a later, better partial then
// replaces them, because the mark never claimed what was not written.
TEST(FullDisk, AFailedPartialSaveLeavesTheEarlierFilesAndMarkAsTheyWere)
{
    TempDir dir;
    const std::string base = dir.file("KTL_SN1234_2026-11-28_16-53-20_O");
    CDiveLog first = longDive(3875);
    ASSERT_EQ(first.saveDive(dir.path()), kLogSaved);
    const std::string csv = readFile(base + ".csv");
    const std::string txt = readFile(base + ".txt");
    ASSERT_EQ(readFile(base + ".partial"), "records 3875 of 12000\r\n");

    {
        FileSizeLimit full(csv.size() + 4096);
        CDiveLog longer = longDive(9300);
        FileMessages messages;
        EXPECT_EQ(longer.saveDive(dir.path(), &messages), kLogSaveFailed);
        ASSERT_FALSE(messages.empty());
        EXPECT_NE(messages.back().find(base + ".csv"), std::string::npos) << messages.back();
        EXPECT_NE(messages.back().find("File too large"), std::string::npos) << messages.back();
    }
    EXPECT_EQ(readFile(base + ".partial"), "records 3875 of 12000\r\n");
    EXPECT_EQ(readFile(base + ".csv"), csv);
    EXPECT_EQ(readFile(base + ".txt"), txt);
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_NE(entry.path().filename().string()[0], '.') << "a temporary file left behind: " << entry.path();

    CDiveLog better = longDive(6125);
    ASSERT_EQ(better.saveDive(dir.path()), kLogSaved);
    EXPECT_EQ(readFile(base + ".partial"), "records 6125 of 12000\r\n");
    std::vector<CDiveDataRecord> samples;
    ASSERT_EQ(ReadSamplesCsv(base + ".csv", samples), 0);
    EXPECT_EQ(samples.size(), 6125u);
}

// The first partial save of a dive fails: nothing is left that could pass
// for a saved log, not even the mark.
TEST(FullDisk, AFailedFirstPartialSaveLeavesNothing)
{
    TempDir dir;
    {
        FileSizeLimit full(8192);
        CDiveLog cut = longDive(5000);
        EXPECT_EQ(cut.saveDive(dir.path()), kLogSaveFailed);
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    CDiveInfo entry = longDive(0).info;
    EXPECT_EQ(SavedStateOf(entry, dir.path()), SavedDiveState::NotSaved);
}

// Pipes and devices where a log's files belong are refused at once; reading
// them would wait for a writer or never end.
TEST(FileChecks, PipesAndDevicesAreRefusedNotWaitedOn)
{
    HangGuard guard;
    TempDir dir;
    const std::string base = dir.file("KTL_SN1234_2026-11-28_16-53-20_O");
    ASSERT_EQ(mkfifo((base + ".csv").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo((base + ".txt").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo((base + ".partial").c_str(), 0600), 0);

    CDiveLog log;
    FileMessages messages;
    EXPECT_EQ(log.loadFromFile(dir.path(), "1234", "2026-11-28_16-53-20_O", &messages), -1);
    ASSERT_FALSE(messages.empty());
    EXPECT_NE(messages[0].find("not a regular file"), std::string::npos) << messages[0];
    const SampleFileCheck check = CheckSampleFile(base + ".csv");
    EXPECT_FALSE(check.ok);
    EXPECT_FALSE(check.missing);
    EXPECT_NE(check.problem.find(base + ".csv"), std::string::npos);

    // A pipe named like a saved dive is no saved dive: it is fetched again.
    EXPECT_EQ(DivesToDownload({longDive(0).info}, dir.path()).size(), 1u);
    CDiveLog whole = longDive(12000);
    EXPECT_NE(whole.saveDive(dir.path()), kLogKeptSaved);

    std::string content;
    std::string reason;
    EXPECT_FALSE(ReadWholeFile("/dev/zero", content, kSampleFileMaxBytes, &reason));
    EXPECT_EQ(reason, "it is not a regular file (a pipe or a device)");
    EXPECT_FALSE(ReadWholeFile(dir.path(), content, kSampleFileMaxBytes, &reason));
    EXPECT_EQ(reason, "it is a folder, not a file");
    ravo::test::writeFile(dir.file("big"), std::string(2000, 'x'));
    EXPECT_FALSE(ReadWholeFile(dir.file("big"), content, 1000, &reason));
    EXPECT_NE(reason.find("larger than 1000 bytes"), std::string::npos) << reason;
    EXPECT_TRUE(ReadWholeFile(dir.file("big"), content, 2000, &reason));
    EXPECT_FALSE(ReadWholeFile(dir.file("none"), content, 1000, &reason));
    EXPECT_EQ(reason, "the file does not exist");
}
