// The logbook's rows, sort, filter and totals over real saved files, and the
// figures cache beside them.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "divedata/dive_log.h"
#include "divedata/logbook.h"
#include "divedata/sample_csv.h"
#include "firmware/file_util.h"
#include "support/temp_dir.h"
#include "support/test_dives.h"

namespace ravo::test {
namespace {

constexpr uint32_t k2012 = 1336314153 - 946684800;  // 2012-05-06 14:22:33 UTC

CDiveLog diveOf(uint32_t unit, uint32_t start, std::vector<CDiveDataRecord> samples)
{
    return testDive(unit, start, std::move(samples));
}

class Logbook : public ::testing::Test {
protected:
    Logbook()
    {
        // 00AB: a 45 min dive to 20 m with every figure, and a short one to 30 m without temperature.
        save(diveOf(0xAB, k2012, {{0, KindDepth, 0},
                                  {60, KindDepth, 40},
                                  {61, KindTemperature, 80},
                                  {62, KindTemperature, 72},
                                  {64, KindHpDil, 200},
                                  {65, KindHpO2, 180},
                                  {2700, KindHpDil, 150},
                                  {2710, KindHpO2, 160},
                                  {2730, KindDepth, 0}}));
        save(diveOf(0xAB, k2012 + 86400, {{0, KindDepth, 60}, {300, KindDepth, 0}}));
        // 1A2B: partial, 222 minutes to 40 m.
        CDiveLog partial = diveOf(0x1A2B, k2012 - 86400, {{0, KindDepth, 80}, {13320, KindDepth, 0}});
        partial.info.recordCount = 500;
        partial.partial = true;
        save(partial);
        ListSavedDiveLogs(folder(), names);
    }

    std::string folder() const { return home.file("dive"); }
    void save(CDiveLog log) { ASSERT_EQ(log.saveDive(folder()), 0); }
    std::vector<LogbookRow> build()
    {
        DiveFiguresCache cache(folder());
        return BuildLogbook(cache, names);
    }
    static std::vector<std::string> column(const std::vector<LogbookRow>& rows, LogbookColumn c)
    {
        std::vector<std::string> cells;
        for (const LogbookRow& row : rows)
            cells.push_back(LogbookCellText(row, c));
        return cells;
    }

    TempDir home;
    std::vector<std::string> names;
};

TEST_F(Logbook, EveryDiveOfEveryUnitWithItsFigures)
{
    const std::vector<LogbookRow> rows = build();
    ASSERT_EQ(rows.size(), 3u);
    // Grouped as the tree: unit, then start.
    EXPECT_EQ(column(rows, LogbookColumn::Unit), (std::vector<std::string>{"00AB", "00AB", "1A2B"}));
    EXPECT_EQ(column(rows, LogbookColumn::Start),
              (std::vector<std::string>{"2012-05-06 14:22:33", "2012-05-07 14:22:33", "2012-05-05 14:22:33"}));
    EXPECT_EQ(column(rows, LogbookColumn::Duration), (std::vector<std::string>{"45:30", "5:00", "222:00"}));
    EXPECT_EQ(column(rows, LogbookColumn::MaxDepth), (std::vector<std::string>{"20.0", "30.0", "40.0"}));
    EXPECT_EQ(column(rows, LogbookColumn::MinTemp), (std::vector<std::string>{"18.00", "", ""}));
    EXPECT_EQ(column(rows, LogbookColumn::O2Used), (std::vector<std::string>{"20", "", ""}));
    EXPECT_EQ(column(rows, LogbookColumn::DilUsed), (std::vector<std::string>{"50", "", ""}));
    EXPECT_EQ(column(rows, LogbookColumn::Records), (std::vector<std::string>{"9", "2", "2"}));
    // The same words as the tree and `saved`.
    EXPECT_EQ(column(rows, LogbookColumn::Partial), (std::vector<std::string>{"", "", "partial, records 2 of 500"}));
    EXPECT_EQ(rows[0].log, "2012-05-06_14-22-33_O");
    EXPECT_FALSE(LogbookCellText(rows[0], LogbookColumn::StartLocal).empty());
    EXPECT_EQ(SavedDiveFiguresText(rows[0]),
              "00AB 2012-05-06 14:22:33 UTC\nDuration 45:30 min, max depth 20.0 m\n"
              "Temperature 18.00 to 20.00 \xC2\xB0" "C\nO2 180 to 160 bar\nDiluent 200 to 150 bar\nrecords 9");
}

TEST_F(Logbook, SortsByEveryColumnFiltersByUnitAndTotals)
{
    std::vector<LogbookRow> rows = build();
    SortLogbook(rows, LogbookColumn::MaxDepth, false);
    EXPECT_EQ(column(rows, LogbookColumn::MaxDepth), (std::vector<std::string>{"40.0", "30.0", "20.0"}));
    SortLogbook(rows, LogbookColumn::Start, true);
    EXPECT_EQ(column(rows, LogbookColumn::Unit), (std::vector<std::string>{"1A2B", "00AB", "00AB"}));
    SortLogbook(rows, LogbookColumn::Duration, true);
    EXPECT_EQ(column(rows, LogbookColumn::Duration), (std::vector<std::string>{"5:00", "45:30", "222:00"}));
    // A dive without the figure goes last, either way round.
    for (bool ascending : {true, false}) {
        SortLogbook(rows, LogbookColumn::MinTemp, ascending);
        EXPECT_EQ(column(rows, LogbookColumn::MinTemp)[0], "18.00");
    }
    SortLogbook(rows, LogbookColumn::Partial, false);
    EXPECT_EQ(rows[0].unit, "1A2B");
    SortLogbook(rows, LogbookColumn::Unit, false);
    EXPECT_EQ(column(rows, LogbookColumn::Unit), (std::vector<std::string>{"1A2B", "00AB", "00AB"}));
    // Equal units stay in start order.
    EXPECT_LT(rows[1].startTime, rows[2].startTime);

    EXPECT_EQ(LogbookUnits(rows), (std::vector<std::string>{"00AB", "1A2B"}));
    EXPECT_EQ(FilterLogbook(rows, "ab").size(), 2u);
    EXPECT_EQ(FilterLogbook(rows, "1A2B").size(), 1u);
    EXPECT_EQ(FilterLogbook(rows, "").size(), 3u);
    EXPECT_EQ(LogbookTotalsText(TotalsOf(rows)), "3 dives, total time 4:32:30, deepest 40.0 m");
    EXPECT_EQ(LogbookTotalsText(TotalsOf(FilterLogbook(rows, "00AB"))), "2 dives, total time 50:30, deepest 30.0 m");
    EXPECT_EQ(LogbookTotalsText(TotalsOf({})), "0 dives, total time 0:00");

    LogbookColumn parsed;
    for (int c = 0; c < kLogbookColumns; ++c) {
        ASSERT_TRUE(ParseLogbookColumn(LogbookColumnName(LogbookColumn(c)), parsed));
        EXPECT_EQ(parsed, LogbookColumn(c));
    }
    EXPECT_FALSE(ParseLogbookColumn("Depth", parsed));
}

TEST_F(Logbook, TheCacheSavesReadingAndIsRefreshedWhenAFileChanges)
{
    {
        DiveFiguresCache cache(folder());
        BuildLogbook(cache, names);
        EXPECT_FALSE(cache.cacheFileTaken());
        EXPECT_EQ(cache.filesRead(), 3u);
    }
    ASSERT_TRUE(std::filesystem::exists(joinFolder(folder(), kFiguresCacheName)));
    {
        DiveFiguresCache cache(folder());
        const std::vector<LogbookRow> rows = BuildLogbook(cache, names);
        EXPECT_TRUE(cache.cacheFileTaken());
        EXPECT_EQ(cache.filesRead(), 0u);
        EXPECT_EQ(column(rows, LogbookColumn::MaxDepth), (std::vector<std::string>{"20.0", "30.0", "40.0"}));
    }

    // The short dive's file grows: its figures are read again, the others' not.
    const std::string shortDive = joinFolder(folder(), "KTL_SNAB_2012-05-07_14-22-33_O.csv");
    ASSERT_EQ(SaveSamplesCsv(shortDive, {{0, KindDepth, 60}, {300, KindDepth, 100}, {400, KindDepth, 0}}), 0);
    {
        DiveFiguresCache cache(folder());
        const std::vector<LogbookRow> rows = BuildLogbook(cache, names);
        EXPECT_EQ(cache.filesRead(), 1u);
        EXPECT_EQ(LogbookCellText(rows[1], LogbookColumn::MaxDepth), "50.0");
    }

    // Same size, new content: the modification time tells.
    ASSERT_EQ(SaveSamplesCsv(shortDive, {{0, KindDepth, 60}, {300, KindDepth, 120}, {400, KindDepth, 0}}), 0);
    std::filesystem::last_write_time(shortDive, std::filesystem::last_write_time(shortDive) + std::chrono::hours(1));
    {
        DiveFiguresCache cache(folder());
        const std::vector<LogbookRow> rows = BuildLogbook(cache, names);
        EXPECT_EQ(cache.filesRead(), 1u);
        EXPECT_EQ(LogbookCellText(rows[1], LogbookColumn::MaxDepth), "60.0");
    }

    // A removed dive leaves the cache too.
    std::filesystem::remove(shortDive);
    ListSavedDiveLogs(folder(), names);
    build();
    FiguresEntries entries;
    ASSERT_TRUE(ParseFiguresCache(readFile(joinFolder(folder(), kFiguresCacheName)), entries));
    EXPECT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries.count("KTL_SNAB_2012-05-07_14-22-33_O"), 0u);
}

TEST_F(Logbook, ADamagedCacheIsIgnoredAndWrittenAnew)
{
    build();
    const std::string path = joinFolder(folder(), kFiguresCacheName);
    const std::string good = readFile(path);
    // A lying depth, a cut end, a foreign file: none of them is believed.
    std::string lying = good;
    const size_t at = lying.find("\t80\t");  // the 40 m dive, in half metres
    ASSERT_NE(at, std::string::npos);
    lying.replace(at, 4, "\t90\t");
    for (const std::string& damaged : {lying, good.substr(0, good.size() - 5), std::string("junk\r\n"), std::string()}) {
        writeFile(path, damaged);
        DiveFiguresCache cache(folder());
        const std::vector<LogbookRow> rows = BuildLogbook(cache, names);
        EXPECT_FALSE(cache.cacheFileTaken());
        EXPECT_EQ(cache.filesRead(), 3u);
        EXPECT_EQ(LogbookCellText(rows[2], LogbookColumn::MaxDepth), "40.0");
        EXPECT_EQ(readFile(path), good);
    }
}

TEST(FiguresCacheFile, ReadsBackWhatItWritesAndNothingElse)
{
    FiguresEntries entries;
    DiveFigures full;
    full.records = 12000;
    full.lastTime = 80000;
    full.hasDepth = true;
    full.maxDepth = 127.5;
    full.hasTemp = true;
    full.tempMin = 4.25;
    full.tempMax = 22.5;
    full.hasO2 = true;
    full.o2Start = 200;
    full.o2Stop = 35;
    entries["KTL_SNAB_2012-05-06_14-22-33_O"] = {{480000, -5123456789}, full};
    entries["KTL_SN1_2012-05-06_14-22-33_2_O"] = {{0, 0}, DiveFigures{}};
    entries["bad\tname"] = {{1, 1}, DiveFigures{}};
    const std::string text = FormatFiguresCache(entries);
    FiguresEntries back;
    ASSERT_TRUE(ParseFiguresCache(text, back));
    entries.erase("bad\tname");  // a line cannot hold it
    EXPECT_EQ(back, entries);

    std::string lf;
    for (char c : text)
        if (c != '\r')
            lf += c;
    EXPECT_FALSE(ParseFiguresCache(lf, back));  // the checksum covers the line ends
    EXPECT_TRUE(back.empty());
    for (const std::string& bad : {text + "x", text.substr(1), std::string("end 0 00000000\r\n")})
        EXPECT_FALSE(ParseFiguresCache(bad, back)) << bad;
}

}  // namespace
}  // namespace ravo::test
