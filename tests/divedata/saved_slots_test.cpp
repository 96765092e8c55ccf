// Saved dive logs that must never be mistaken for one another or for whole
// dives: two dives of one start second, and partial logs read back offline.
#include <gtest/gtest.h>

#include "divedata/dive_export.h"
#include "divedata/dive_graph.h"
#include "divedata/dive_log.h"
#include "divedata/dive_summary.h"
#include "divedata/download_plan.h"
#include "divedata/partial_log.h"
#include "divedata/sample_csv.h"
#include "divedata/saved_dive_slots.h"
#include "divedata/saved_logs.h"
#include "firmware/file_util.h"
#include "support/temp_dir.h"

using namespace ravo;
using ravo::test::readFile;
using ravo::test::TempDir;

namespace {

constexpr uint32_t kStopped = 849200000;  // the start second both dives report

// A dive of unit 1234 with `records` samples that follow from `seed`.
CDiveLog dive(uint16_t index, uint32_t records, int seed)
{
    CDiveLog log;
    log.isDive = true;
    log.info.valid = 1;
    log.info.unitNumber = 0x1234;
    log.info.index = index;
    log.info.startTime = kStopped;
    log.info.recordCount = records;
    log.header.raw[0] = log.header.raw[1] = 0xFF;
    log.header.raw[8] = uint8_t(seed);
    log.header.Parse();
    for (uint32_t i = 0; i < records; ++i)
        log.samples.push_back({uint16_t(i * 2), 8, uint8_t((i * 7 + uint32_t(seed)) % 200)});
    return log;
}

std::vector<CDiveDataRecord> samplesIn(const std::string& path)
{
    std::vector<CDiveDataRecord> samples;
    ReadSamplesCsv(path, samples);
    return samples;
}

}  // namespace

// Two dives that started in the same second are both kept, each under a name
// of its own that the listing reads, in whichever order they arrive and however
// often they are downloaded again; the plan then finds both saved.
TEST(SameStartSecond, BothDivesAreKeptUnderNamesOfTheirOwn)
{
    TempDir dir;
    const CDiveLog longDive = dive(0, 600, 1);
    const CDiveLog shortDive = dive(1, 40, 2);
    const std::string first = dir.file("KTL_SN1234_2026-11-28_16-53-20_O");
    const std::string second = dir.file("KTL_SN1234_2026-11-28_16-53-20_2_O");
    for (int round = 0; round < 2; ++round) {
        CDiveLog a = longDive, b = shortDive;
        FileMessages messages;
        std::vector<std::string> paths;
        ASSERT_EQ(a.saveDive(dir.path(), &messages, &paths), kLogSaved);
        ASSERT_EQ(b.saveDive(dir.path(), &messages, &paths), kLogSaved);
        EXPECT_EQ(paths, (std::vector<std::string>{first + ".txt", first + ".csv", second + ".txt", second + ".csv"}));
        if (round == 0) {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_NE(messages[0].find("another dive that started in the same second"), std::string::npos);
            EXPECT_NE(messages[0].find(second), std::string::npos) << messages[0];
        } else {
            EXPECT_TRUE(messages.empty()) << "found again where they were";
        }
        EXPECT_EQ(samplesIn(first + ".csv").size(), 600u);
        EXPECT_EQ(samplesIn(second + ".csv").size(), 40u);
    }
    std::vector<std::string> names;
    ASSERT_EQ(ListSavedDiveLogs(dir.path(), names), 2);
    std::vector<SavedUnitGroup> groups = GroupSavedLogs(names);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].logs, (std::vector<std::string>{"2026-11-28_16-53-20_2_O", "2026-11-28_16-53-20_O"}));
    CDiveLog back;
    back.loadFromFile(dir.path(), "1234", "2026-11-28_16-53-20_2_O");
    EXPECT_EQ(back.samples.size(), 40u);
    EXPECT_EQ(StartTimeFromDateKind("2026-11-28_16-53-20_2_O"), "2026-11-28T16:53:20");

    const std::vector<CDiveInfo> directory = {longDive.info, shortDive.info};
    EXPECT_TRUE(DivesToDownload(directory, dir.path()).empty());
    EXPECT_EQ(SavedStatesOf(directory, dir.path()),
              (std::vector<SavedDiveState>{SavedDiveState::Complete, SavedDiveState::Complete}));
}

// The short dive first, then the long one: the long one must not be taken
// for the rest of the short one.
TEST(SameStartSecond, ALongerDiveIsNotTakenForTheRestOfAShorterOne)
{
    TempDir dir;
    CDiveLog shortDive = dive(1, 40, 2);
    CDiveLog longDive = dive(0, 600, 1);
    ASSERT_EQ(shortDive.saveDive(dir.path()), kLogSaved);
    ASSERT_EQ(longDive.saveDive(dir.path()), kLogSaved);
    EXPECT_EQ(samplesIn(dir.file("KTL_SN1234_2026-11-28_16-53-20_O.csv")).size(), 40u);
    EXPECT_EQ(samplesIn(dir.file("KTL_SN1234_2026-11-28_16-53-20_2_O.csv")).size(), 600u);

    // A partial download of the long dive finds its own file and keeps it.
    CDiveLog cut = dive(0, 600, 1);
    cut.samples.resize(100);
    cut.partial = true;
    EXPECT_EQ(cut.saveDive(dir.path()), kLogKeptSaved);
    EXPECT_EQ(samplesIn(dir.file("KTL_SN1234_2026-11-28_16-53-20_2_O.csv")).size(), 600u);
}

// A partial of the second dive, then the whole of it: the whole one replaces
// the partial one in its own slot and drops the mark; the first dive stays.
TEST(SameStartSecond, APartialSecondDiveIsCompletedInItsOwnSlot)
{
    TempDir dir;
    CDiveLog longDive = dive(0, 600, 1);
    ASSERT_EQ(longDive.saveDive(dir.path()), kLogSaved);
    CDiveLog cut = dive(1, 40, 2);
    cut.samples.resize(15);
    cut.partial = true;
    ASSERT_EQ(cut.saveDive(dir.path()), kLogSaved);
    const std::string second = dir.file("KTL_SN1234_2026-11-28_16-53-20_2_O");
    EXPECT_EQ(readFile(second + ".partial"), "records 15 of 40\r\n");
    const std::vector<CDiveInfo> directory = {longDive.info, dive(1, 40, 2).info};
    EXPECT_EQ(SavedStatesOf(directory, dir.path()),
              (std::vector<SavedDiveState>{SavedDiveState::Complete, SavedDiveState::Incomplete}));

    CDiveLog whole = dive(1, 40, 2);
    ASSERT_EQ(whole.saveDive(dir.path()), kLogSaved);
    EXPECT_FALSE(IsMarkedPartial(second));
    EXPECT_EQ(samplesIn(second + ".csv").size(), 40u);
    EXPECT_EQ(samplesIn(dir.file("KTL_SN1234_2026-11-28_16-53-20_O.csv")).size(), 600u);
    EXPECT_TRUE(DivesToDownload(directory, dir.path()).empty());
}

// A partial log read back offline says so everywhere: the loaded log, the
// dive view's summary, the listing and every export.
TEST(PartialOffline, ALoadedPartialLogSaysHowMuchOfItIsThere)
{
    TempDir dir;
    CDiveLog cut = dive(0, 120, 3);
    cut.samples.resize(46);
    cut.partial = true;
    ASSERT_EQ(cut.saveDive(dir.path()), kLogSaved);

    CDiveLog back;
    ASSERT_EQ(back.loadFromFile(dir.path(), "1234", "2026-11-28_16-53-20_O"), 0);
    EXPECT_TRUE(back.partial);
    EXPECT_EQ(back.expectedRecords, 120u);
    DiveGraph graph;
    graph.SetData(&back);
    const std::string summary = DiveSummaryText(back, graph);
    EXPECT_EQ(summary.substr(0, summary.find("\r\nDuration")),
              "Dive info: unit 1234 (records 46)\r\nPartial log: records 46 of 120");

    const SavedLogPartial listed = SavedDiveLogPartial(dir.path(), "KTL_SN1234_2026-11-28_16-53-20_O");
    EXPECT_TRUE(listed.partial);
    EXPECT_EQ(PartialRecordsText(listed.records, listed.expected), "partial, records 46 of 120");

    EXPECT_NE(FormatDiveUddf(back, "").find("<notes>"), std::string::npos);
    EXPECT_NE(FormatDiveUddf(back, "").find("<para>Partial log: records 46 of 120</para>"), std::string::npos);
    EXPECT_EQ(FormatDiveCsv(back).rfind("# Partial log: records 46 of 120\r\ntime_s,", 0), 0u);
    EXPECT_NE(FormatDiveSvg(back, 800, 500).find("Partial log: records 46 of 120"), std::string::npos);

    // A whole log loaded back carries no such mark.
    CDiveLog whole = dive(0, 120, 3);
    ASSERT_EQ(whole.saveDive(dir.path()), kLogSaved);
    ASSERT_EQ(back.loadFromFile(dir.path(), "1234", "2026-11-28_16-53-20_O"), 0);
    EXPECT_FALSE(back.partial);
    EXPECT_EQ(FormatDiveCsv(back).rfind("time_s,", 0), 0u);
    EXPECT_EQ(FormatDiveUddf(back, "").find("Partial"), std::string::npos);
}

TEST(HeaderHexDump, ReadsBackTheBytesItWasWrittenFrom)
{
    CDiveLog log = dive(0, 3, 9);
    for (int i = 0; i < kHeaderBytes; ++i)
        log.header.raw[i] = uint8_t(255 - i);
    uint8_t back[kHeaderBytes] = {};
    ASSERT_TRUE(ParseHeaderHexDump(log.header.FormatTxt(), back));
    EXPECT_TRUE(std::equal(back, back + kHeaderBytes, log.header.raw));
    EXPECT_FALSE(ParseHeaderHexDump("Ravo_Config v1.35\r\n\r\n FF 00\r\n\r\nHeader is valid\r\n", back));
    EXPECT_FALSE(ParseHeaderHexDump("", back));
}

// Redbox logs of one start second: the file name proposed never holds the
// other log, and a log downloaded again is proposed where it was saved.
TEST(SameStartSecond, RedboxLogsAreProposedUnderNamesOfTheirOwn)
{
    TempDir dir;
    auto redbox = [](int seed) {
        CDiveLog log = dive(0, 30, seed);
        log.isDive = false;
        log.redboxHeader.raw[8] = uint8_t(seed);
        return log;
    };
    const std::string first = dir.file("KTL_SN1234_2026-11-28_16-53-20_R.cvsr");
    const std::string second = dir.file("KTL_SN1234_2026-11-28_16-53-20_2_R.cvsr");
    std::string last;
    RedboxPathChooser takeProposed = [](const std::string& proposed, std::string& chosen) {
        chosen = proposed;
        return true;
    };
    for (int round = 0; round < 2; ++round) {
        CDiveLog a = redbox(1), b = redbox(2);
        FileMessages messages;
        std::vector<std::string> paths;
        ASSERT_EQ(a.saveToFile(dir.path(), false, last, takeProposed, &messages, &paths), kLogSaved);
        ASSERT_EQ(b.saveToFile(dir.path(), false, last, takeProposed, &messages, &paths), kLogSaved);
        EXPECT_EQ(paths, (std::vector<std::string>{first, second}));
        if (round == 0) {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_NE(messages[0].find("another log that started in the same second"), std::string::npos);
        } else {
            EXPECT_TRUE(messages.empty()) << "found again where they were";
        }
        EXPECT_EQ(readFile(first), redbox(1).FormatRedboxFile());
        EXPECT_EQ(readFile(second), redbox(2).FormatRedboxFile());
    }
}
