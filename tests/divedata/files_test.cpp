#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sstream>

#include "firmware/file_util.h"
#include "app/app_config.h"
#include "divedata/dive_log.h"
#include "divedata/download_plan.h"
#include "divedata/log_handover.h"
#include "divedata/sample_csv.h"
#include "divedata/saved_logs.h"
#include "divedata/text_file.h"
#include "support/temp_dir.h"

using namespace ravo;
using ravo::test::readFile;
using ravo::test::TempDir;
using ravo::test::splitLines;
using ravo::test::writeFile;

namespace {

// A file in a folder as the program joins them (with \ on Windows).
std::string inFolder(const std::string& folder, const std::string& name)
{
    return ravo::joinFolder(folder, name);
}

CDiveLog diveOfUnitAB()
{
    CDiveLog log;
    log.info.valid = 1;
    log.info.unitNumber = 0x00AB;
    log.info.startTime = 0;
    log.isDive = true;
    log.header.raw[0] = 0xFF;
    log.header.raw[1] = 0xFF;
    log.header.raw[20] = 7;
    log.header.raw[8] = 0xD5;  // o2 2005 -> 200.5
    log.header.raw[9] = 0x07;
    log.header.Parse();
    log.samples = {{0, 8, 0}, {60, 8, 20}, {65535, 255, 255}};
    return log;
}

}  // namespace

TEST(LogFileName, UnitAndStartTimeMakeTheBaseName)
{
    CDiveLog log;
    log.info.unitNumber = 0x00AB;
    EXPECT_EQ(log.makeFileName(true), "KTL_SNAB_2000-01-01_00-00-00_O");
    EXPECT_EQ(log.makeFileName(false), "KTL_SNAB_2000-01-01_00-00-00_R");
    log.info.unitNumber = 0x1A2B;
    log.info.startTime = 1336314153 - 946684800;  // 2012-05-06 14:22:33 UTC
    EXPECT_EQ(log.makeFileName(true), "KTL_SN1A2B_2012-05-06_14-22-33_O");
    log.info.startTime = 0xFFFFFFFF;
    EXPECT_EQ(log.makeFileName(true), "KTL_SN1A2B_2136-02-07_06-28-15_O");
}

TEST(HeaderTextFile, ExactLayout)
{
    CDiveLog log = diveOfUnitAB();
    std::string text = log.header.FormatTxt();
    // Every line ends in CR LF.
    EXPECT_EQ(text.find("\n"), text.find("\r\n") + 1);
    std::vector<std::string> lines = splitLines(text);
    ASSERT_EQ(lines.size(), 8u + 23u + 18u + 2u);
    EXPECT_EQ(lines[0], "Ravo_Config v1.35\r");
    EXPECT_EQ(lines[1], "\r");
    EXPECT_EQ(lines[2].substr(0, 16), " FF FF 00 00 00 ");
    EXPECT_EQ(lines[2].size(), 64u * 3 + 1);
    EXPECT_EQ(lines[5].size(), 64u * 3 + 1);
    EXPECT_EQ(lines[6], "\r");
    EXPECT_EQ(lines[7], "Header is valid\r");
    EXPECT_EQ(lines[8], "Dive started at            : 2000-01-01 00:00:00\r");
    EXPECT_EQ(lines[9], "Starting O2 Pressure(Bar)  : 200.5\r");
    EXPECT_EQ(lines[11], "Starting PO2 Sensor 1 (Bar): 0.00\r");
    EXPECT_EQ(lines[17], "Mouthpiece Position        : Unknown (7)\r");
    EXPECT_EQ(lines[21], "Battery Serial number      : 0000\r");
    EXPECT_EQ(lines[27], "Battery SoC (%)            : 0\r");
    EXPECT_EQ(lines[31], "Nitrogen tension 1         : 0.0000\r");
    EXPECT_EQ(lines[40], "Helium tension 1           : 0.0000\r");
    EXPECT_EQ(lines[49], "Surface interval           : 0\r");
    EXPECT_EQ(lines[50], "Deco rig                   : 0\r");
}

TEST(HeaderTextFile, NotValidAndMouthpieceTexts)
{
    CDiveHeaderOrangebox h;
    h.Parse();
    std::vector<std::string> lines = splitLines(h.FormatTxt());
    EXPECT_EQ(lines[7], "Header is NOT valid\r");
    EXPECT_EQ(lines[17], "Mouthpiece Position        : Open Circuit (0)\r");
    EXPECT_STREQ(MouthpieceText(1), "Closed Circuit");
    EXPECT_STREQ(MouthpieceText(2), "Indeterminate");
    EXPECT_STREQ(MouthpieceText(3), "Unknown");
}

TEST(SampleFile, WriteAndReadBack)
{
    TempDir dir;
    std::vector<CDiveDataRecord> samples{{5, 8, 20}, {65535, 39, 255}};
    ASSERT_EQ(SaveSamplesCsv(dir.file("s.csv"), samples), 0);
    EXPECT_EQ(readFile(dir.file("s.csv")), "5,8,20\r\n65535,39,255\r\n");
    std::vector<CDiveDataRecord> back{{9, 9, 9}};
    ASSERT_EQ(ReadSamplesCsv(dir.file("s.csv"), back), 0);
    EXPECT_EQ(back, samples);
    ASSERT_EQ(SaveSamplesCsv(dir.file("e.csv"), {}), 0);
    EXPECT_EQ(readFile(dir.file("e.csv")), "");
}

TEST(SampleFile, LineReadingRules)
{
    struct Row {
        const char* text;
        std::vector<CDiveDataRecord> expected;
    };
    const Row rows[] = {
        {"5,8,20", {{5, 8, 20}}},
        {"70000,300,-1", {{4464, 44, 255}}},
        {"5,8", {{5, 8, 0}}},
        {"1,,2,3", {{1, 2, 3}}},
        {"1,2,3,4,5", {{1, 2, 3}}},
        {"  7 , 8x,\t9  ", {{7, 8, 9}}},
        {"\n   \n\t\n5,8,20\n\n", {{5, 8, 20}}},
        {"1,8,2\r\n3,8,4\r\n", {{1, 8, 2}, {3, 8, 4}}},
        {"1,8,2\n3,8,4", {{1, 8, 2}, {3, 8, 4}}},
        {"abc", {{0, 0, 0}}},
        {"99999999999999999999999,1,1", {{65535, 1, 1}}},
    };
    for (const Row& row : rows) {
        std::vector<CDiveDataRecord> samples;
        ParseSamplesText(row.text, samples);
        EXPECT_EQ(samples, row.expected) << row.text;
    }
}

TEST(SampleFile, TellsASampleFileFromAnotherFile)
{
    EXPECT_EQ(FirstForeignSampleLine(""), 0);
    EXPECT_EQ(FirstForeignSampleLine("1,8,2\r\n\r\n  3 , 8,-4\n"), 0);
    EXPECT_EQ(FirstForeignSampleLine("1,8,2\nabc\n"), 2);
    EXPECT_EQ(FirstForeignSampleLine("1,8x,2"), 1);
    EXPECT_EQ(FirstForeignSampleLine(",,\n"), 1);
}

TEST(SampleFile, MissingFileReadsNothing)
{
    std::vector<CDiveDataRecord> samples{{1, 1, 1}};
    EXPECT_EQ(ReadSamplesCsv("/nonexistent/x.csv", samples), -1);
    EXPECT_TRUE(samples.empty());
}

TEST(DiveLogFiles, SaveWritesHeaderAndSamplesUnderTheBaseName)
{
    TempDir dir;
    std::string folder = dir.file("a/b/dive");  // missing parents are created
    CDiveLog log = diveOfUnitAB();
    std::vector<std::string> written;
    FileMessages messages;
    ASSERT_EQ(log.saveDive(folder, &messages, &written), kLogSaved);
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(written.size(), 2u);
    std::string base = inFolder(folder, "KTL_SNAB_2000-01-01_00-00-00_O");
    EXPECT_EQ(written[0], base + ".txt");
    EXPECT_EQ(readFile(base + ".txt"), log.header.FormatTxt());
    EXPECT_EQ(readFile(base + ".csv"), "0,8,0\r\n60,8,20\r\n65535,255,255\r\n");
    // Nothing but the two files: the temporary files are gone.
    int files = 0;
    for (auto& entry : std::filesystem::directory_iterator(folder)) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 2);
}

TEST(DiveLogFiles, SaveReplacesAndLoadReadsBack)
{
    TempDir dir;
    CDiveLog log = diveOfUnitAB();
    writeFile(dir.file("KTL_SNAB_2000-01-01_00-00-00_O.csv"), "old content that is longer than the new one\n");
    ASSERT_EQ(log.saveDive(dir.path()), kLogSaved);

    CDiveLog back;
    back.samples.push_back({1, 1, 1});
    FileMessages messages;
    ASSERT_EQ(back.loadFromFile(dir.path(), "00AB", "2000-01-01_00-00-00_O", &messages), 0);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(back.info.valid, 1);
    EXPECT_EQ(back.info.unitNumber, 0xABu);
    EXPECT_EQ(back.info.recordCount, 3u);
    EXPECT_EQ(back.info.startTime, 0u);
    EXPECT_TRUE(back.isDive);
    EXPECT_EQ(back.samples, log.samples);
    EXPECT_EQ(back.header.text, "Ravo_Config v1.35");
    EXPECT_FALSE(back.header.valid);
    EXPECT_EQ(back.header.raw[0], 0);
}

TEST(DiveLogFiles, LoadWithAnEmptyTextLeavesTheLogEmpty)
{
    TempDir dir;
    CDiveLog log = diveOfUnitAB();
    ASSERT_EQ(log.saveDive(dir.path()), kLogSaved);
    CDiveLog back = log;
    EXPECT_EQ(back.loadFromFile(dir.path(), "", "2000-01-01_00-00-00_O"), 0);
    EXPECT_TRUE(back.samples.empty());
    EXPECT_EQ(back.info.valid, 0);
    EXPECT_EQ(back.loadFromFile(dir.path(), "00AB", ""), 0);
    EXPECT_TRUE(back.samples.empty());
}

TEST(DiveLogFiles, MissingHeaderIsReportedAndSamplesStillLoad)
{
    TempDir dir;
    writeFile(dir.file("KTL_SN12_2000-01-01_00-00-00_O.csv"), "1,8,2\n");
    CDiveLog back;
    FileMessages messages;
    EXPECT_EQ(back.loadFromFile(dir.path(), "0012", "2000-01-01_00-00-00_O", &messages), -1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "CDiveHeaderOrangebox::ReadOrangeBoxTxt - Error, can not open file for reading: " +
                               dir.file("KTL_SN12_2000-01-01_00-00-00_O.txt") + " (the file does not exist)");
    EXPECT_EQ(back.samples.size(), 1u);

    writeFile(dir.file("KTL_SN12_2000-01-01_00-00-00_R.csv"), "1,8,2\n2,8,2\n");
    messages.clear();
    EXPECT_EQ(back.loadFromFile(dir.path(), "0012", "2000-01-01_00-00-00_R", &messages), -1);
    EXPECT_FALSE(back.isDive);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "CDiveHeaderRedbox::ReadTxt - Error, can not open file for reading: " +
                               dir.file("KTL_SN12_2000-01-01_00-00-00_R.txt") + " (the file does not exist)");
    EXPECT_EQ(back.info.recordCount, 2u);
}

TEST(DiveLogFiles, UnwritableFolderIsReportedNotSilent)
{
    TempDir dir;
    writeFile(dir.file("blocker"), "a file where the folder should be");
    CDiveLog log = diveOfUnitAB();
    FileMessages messages;
    EXPECT_EQ(log.saveDive(dir.file("blocker"), &messages), kLogSaveFailed);
    // Each message names the file and the system's reason.
    ASSERT_EQ(messages.size(), 2u);
    const std::string base = inFolder(dir.file("blocker"), "KTL_SNAB_2000-01-01_00-00-00_O");
    EXPECT_EQ(messages[0].rfind("CDiveHeaderOrangebox::SaveOrangeBoxTxt - Error, can not open file for writing: " +
                                    base + ".txt (",
                                0),
              0u)
        << messages[0];
    EXPECT_EQ(messages[1].rfind("SaveSamplesCsv - Error, can not open file for writing: " + base + ".csv (", 0), 0u)
        << messages[1];
}

TEST(DiveLogFiles, FailedReplaceKeepsTheOldFile)
{
    TempDir dir;
    std::string path = dir.file("keep.csv");
    writeFile(path, "1,8,2\r\n");
    // A folder in place of the file: the rename over it fails.
    std::filesystem::create_directory(dir.file("dir.csv"));
    EXPECT_EQ(WriteFileReplacing(dir.file("dir.csv"), "x"), -1);
    EXPECT_EQ(WriteFileReplacing(path, "3,8,4\r\n"), 0);
    EXPECT_EQ(readFile(path), "3,8,4\r\n");
    int files = 0;
    for (auto& entry : std::filesystem::directory_iterator(dir.path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 2);  // no temporary left behind
}

TEST(RedboxFile, LayoutAndChosenPath)
{
    TempDir dir;
    CDiveLog log;
    log.info.unitNumber = 0x1A2B;
    for (int i = 0; i < kHeaderBytes; ++i)
        log.redboxHeader.raw[i] = uint8_t(i);
    log.redboxHeader.Parse();
    log.samples = {{1, 2, 3}};
    std::string redboxFolder;
    std::string proposedSeen;
    RedboxPathChooser choose = [&](const std::string& proposed, std::string& chosen) {
        proposedSeen = proposed;
        chosen = dir.file("mine.cvsr");
        return true;
    };
    ASSERT_EQ(log.saveToFile(dir.file("dive"), false, redboxFolder, choose), kLogSaved);
    EXPECT_EQ(proposedSeen, inFolder(dir.file("dive"), "KTL_SN1A2B_2000-01-01_00-00-00_R.cvsr"));
    EXPECT_EQ(redboxFolder, dir.file("mine.cvsr"));
    std::string text = readFile(dir.file("mine.cvsr"));
    std::vector<std::string> lines = splitLines(text);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "Ravo_Config v1.35\r");
    EXPECT_EQ(lines[1], "HEADER:\r");
    EXPECT_EQ(lines[2].substr(0, 12), " 00 01 02 03");
    EXPECT_EQ(lines[5].substr(lines[5].size() - 4), " FF\r");
    EXPECT_EQ(lines[6], "DATA:\r");
    EXPECT_EQ(lines[7], "1,2,3\r");

    // Next time the folder of the last file is proposed.
    ASSERT_EQ(log.saveToFile(dir.file("dive"), false, redboxFolder, choose), kLogSaved);
    EXPECT_EQ(proposedSeen, inFolder(dir.path(), "KTL_SN1A2B_2000-01-01_00-00-00_R.cvsr"));
}

TEST(RedboxFile, CancelWritesNothingAndKeepsTheFolder)
{
    TempDir dir;
    CDiveLog log;
    std::string redboxFolder = "/somewhere/last.cvsr";
    RedboxPathChooser cancel = [](const std::string&, std::string&) { return false; };
    EXPECT_EQ(log.saveToFile(dir.path(), false, redboxFolder, cancel), kLogSaveCancelled);
    EXPECT_EQ(redboxFolder, "/somewhere/last.cvsr");
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(RedboxFile, UnwritableChoiceIsReportedAndFolderKept)
{
    TempDir dir;
    writeFile(dir.file("blocker"), "a file where the folder should be");
    CDiveLog log;
    std::string redboxFolder = dir.file("last/box.cvsr");
    FileMessages messages;
    RedboxPathChooser choose = [&](const std::string&, std::string& chosen) {
        chosen = dir.file("blocker/x.cvsr");
        return true;
    };
    EXPECT_EQ(log.saveToFile(dir.path(), false, redboxFolder, choose, &messages), kLogSaveFailed);
    EXPECT_EQ(redboxFolder, dir.file("last/box.cvsr")) << "a failed save is not remembered";
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("CDiveLog::saveToFile - Error, can not open file for writing: " +
                                    dir.file("blocker/x.cvsr") + " (",
                                0),
              0u)
        << messages[0];
}

TEST(RedboxFile, DefaultFolderIsProposedAndCreated)
{
    TempDir dir;
    CDiveLog log;
    std::string redboxFolder = inFolder(dir.file("start"), "redbox");  // the default: a folder, not a file
    const std::string defaultFolder = redboxFolder;
    std::string proposedSeen;
    RedboxPathChooser choose = [&](const std::string& proposed, std::string& chosen) {
        proposedSeen = chosen = proposed;
        return true;
    };
    ASSERT_EQ(log.saveToFile(dir.file("dive"), false, redboxFolder, choose), kLogSaved);
    EXPECT_EQ(proposedSeen, inFolder(defaultFolder, "KTL_SN0_2000-01-01_00-00-00_R.cvsr"));
    EXPECT_TRUE(std::filesystem::is_regular_file(proposedSeen));
    EXPECT_EQ(redboxFolder, proposedSeen);

    // A chosen name without a dot is still written as a file.
    RedboxPathChooser plain = [&](const std::string&, std::string& chosen) {
        chosen = dir.file("start/box");
        return true;
    };
    ASSERT_EQ(log.saveToFile(dir.file("dive"), false, redboxFolder, plain), kLogSaved);
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.file("start/box")));
}

// A partial log goes where nothing better is saved, marked; it never replaces
// a complete log or a partial one that holds more; the complete log then
// replaces it and drops the mark.
TEST(PartialLogs, NeverWorseThanWhatWasSaved)
{
    TempDir dir;
    const std::string base = dir.file("KTL_SNAB_2000-01-01_00-00-00_O");
    CDiveLog full = diveOfUnitAB();
    full.info.recordCount = 3;
    CDiveLog two = full;
    two.partial = true;
    two.samples.pop_back();
    CDiveLog one = two;
    one.samples.pop_back();

    ASSERT_EQ(two.saveDive(dir.path()), kLogSaved);
    EXPECT_TRUE(SavedDiveLogIsPartial(dir.path(), "KTL_SNAB_2000-01-01_00-00-00_O"));
    EXPECT_EQ(readFile(base + ".partial"), "records 2 of 3\r\n");
    EXPECT_EQ(one.saveDive(dir.path()), kLogKeptSaved);
    EXPECT_EQ(readFile(base + ".csv"), "0,8,0\r\n60,8,20\r\n");

    ASSERT_EQ(full.saveDive(dir.path()), kLogSaved);
    EXPECT_FALSE(SavedDiveLogIsPartial(dir.path(), "KTL_SNAB_2000-01-01_00-00-00_O"));
    const std::string complete = readFile(base + ".csv") + readFile(base + ".txt");
    two.header.raw[5] = 9;
    EXPECT_EQ(two.saveDive(dir.path()), kLogKeptSaved);
    EXPECT_EQ(readFile(base + ".csv") + readFile(base + ".txt"), complete);
    std::vector<std::string> names;
    EXPECT_EQ(ListSavedDiveLogs(dir.path(), names), 1);

    // Redbox files the same way, at the chosen path.
    std::string redboxFolder;
    RedboxPathChooser choose = [&](const std::string&, std::string& chosen) {
        chosen = dir.file("box.cvsr");
        return true;
    };
    full.isDive = two.isDive = false;
    ASSERT_EQ(full.saveToFile(dir.path(), false, redboxFolder, choose), kLogSaved);
    const std::string box = readFile(dir.file("box.cvsr"));
    redboxFolder.clear();
    EXPECT_EQ(two.saveToFile(dir.path(), false, redboxFolder, choose), kLogKeptSaved);
    EXPECT_EQ(readFile(dir.file("box.cvsr")), box);
    EXPECT_TRUE(redboxFolder.empty());
}

TEST(PartialLogs, ClearEmptiesBothHeaders)
{
    CDiveLog log = diveOfUnitAB();
    log.redboxHeader.raw[3] = 0x55;
    log.partial = true;
    log.clear();
    for (int i = 0; i < kHeaderBytes; ++i)
        ASSERT_EQ(log.header.raw[i] | log.redboxHeader.raw[i], 0) << i;
    EXPECT_FALSE(log.partial);
}

TEST(SavedLogs, ListsDiveSampleFilesSortedAndCut)
{
    TempDir dir;
    for (const char* name : {"KTL_SN2_2001-01-01_00-00-00_O.csv", "KTL_SN1_2001-01-01_00-00-00_O.CSV",
                             "KTL_SN1_2000-01-01_00-00-00_O.txt", "a.b_O.csv", "x_R.csv", "y_O.csvx"})
        writeFile(dir.file(name), "");
    std::filesystem::create_directory(dir.file("sub_O.csv"));
    std::vector<std::string> names{"stale"};
    EXPECT_EQ(ListSavedDiveLogs(dir.path(), names), 3);
    EXPECT_EQ(names, (std::vector<std::string>{"KTL_SN1_2001-01-01_00-00-00_O", "KTL_SN2_2001-01-01_00-00-00_O", "a"}));
}

TEST(SavedLogs, ListingCreatesAMissingFolder)
{
    TempDir dir;
    std::vector<std::string> names;
    EXPECT_EQ(ListSavedDiveLogs(dir.file("new/dive"), names), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("new/dive")));
}

TEST(SavedLogs, NameSplitting)
{
    struct Row {
        const char* name;
        const char* serial;
        const char* dateKind;
    };
    const Row rows[] = {
        {"KTL_SN1A2B_2012-05-06_14-22-33_O", "1A2B", "2012-05-06_14-22-33_O"},
        {"KTL_SN_2012_O", "", "2012_O"},
        {"KTL_SN1A2B__O", "1A2B", ""},
        {"XKTL_SN1A2B_2012_O", "", ""},
        {"KTL_SN1A2B", "", ""},
        {"KTL_SN1A2B_2012_R", "1A2B", "2012_R"},
        {"KTL_SN1A2B_2012_Oxtra", "1A2B", "2012_O"},
        {"ktl_sn1A2B_2012_O", "", ""},
        {"KTL_SN1A2B_2012", "1A2B", ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(SerialFromLogName(row.name), row.serial) << row.name;
        EXPECT_EQ(DateKindFromLogName(row.name), row.dateKind) << row.name;
    }
}

TEST(SavedLogs, GroupedAsTheTreeShowsThem)
{
    std::vector<SavedUnitGroup> groups = GroupSavedLogs(
        {"KTL_SNAB_2001-01-01_00-00-00_O", "KTL_SN1A2B_2000-01-01_00-00-00_O", "KTL_SN00AB_2000-01-01_00-00-00_O",
         "KTL_SNAB_2000-01-01_00-00-00_O", "junk", "KTL_SN_x_O"});
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].unit, "00AB");
    EXPECT_EQ(groups[0].logs, (std::vector<std::string>{"2000-01-01_00-00-00_O", "2001-01-01_00-00-00_O"}));
    EXPECT_EQ(groups[1].unit, "1A2B");
}

TEST(Handover, DiveDownloadedIsSavedThenListed)
{
    TempDir dir;
    CDiveLog log = diveOfUnitAB();
    std::vector<std::string> names;
    LogHandover handover{dir.path(), nullptr, nullptr, &names};
    EXPECT_EQ(HandleLogDownloaded(log, handover), kLogSaved);
    EXPECT_EQ(names, (std::vector<std::string>{"KTL_SNAB_2000-01-01_00-00-00_O"}));
}

TEST(Handover, RedboxDownloadedAsksForThePathAndUpdatesTheFolder)
{
    TempDir dir;
    CDiveLog log;
    std::vector<std::string> names;
    std::string redboxFolder;
    LogHandover handover{dir.path(), &redboxFolder,
                         [](const std::string& proposed, std::string& chosen) {
                             chosen = proposed;
                             return true;
                         },
                         &names};
    ASSERT_FALSE(log.isDive);
    EXPECT_EQ(HandleLogDownloaded(log, handover), kLogSaved);
    EXPECT_EQ(redboxFolder, inFolder(dir.path(), "KTL_SN0_2000-01-01_00-00-00_R.cvsr"));
    EXPECT_TRUE(std::filesystem::exists(redboxFolder));
    EXPECT_TRUE(names.empty());  // a redbox file is not a saved dive
}

// The decoded part of the header text for a header with every member set,
// written out in full: any change to a label, a scale or a precision shows.
TEST(HeaderTextFile, DecodedLinesGolden)
{
    CDiveHeaderOrangebox h;
    const uint8_t head[] = {0xFF, 0xFF, 0x00, 0x00, 0x78, 0x56, 0x34, 0x12, 0xD5, 0x07, 0xB8, 0x0B, 0x6E, 0x46,
                            0x2D, 0x2E, 0x0C, 0x00, 0xFB, 0xFF, 0x07, 0x34, 0x12, 0x64, 0x2A, 0xCD, 0xAB, 0x01,
                            0x00, 0x05, 0x01, 0x03, 0x23, 0x4F, 0x5A, 0x68, 0x10, 0x2C, 0x01, 0x10, 0x27};
    std::memcpy(h.raw, head, sizeof head);
    const uint8_t one[] = {0x00, 0x00, 0x80, 0x3F};
    const uint8_t quarter[] = {0x00, 0x00, 0x80, 0x3E};
    std::memcpy(h.raw + 41, one, 4);
    std::memcpy(h.raw + 41 + 32, quarter, 4);
    std::memcpy(h.raw + 77, quarter, 4);
    std::memcpy(h.raw + 77 + 32, one, 4);
    std::memset(h.raw + 113, 0xFF, 4);
    h.raw[117] = 1;
    h.Parse();
    std::string text = h.FormatTxt();
    size_t at = text.find("Header is valid\r\n");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(text.substr(at),
              "Header is valid\r\n"
              "Dive started at            : 2009-09-04 22:51:36\r\n"
              "Starting O2 Pressure(Bar)  : 200.5\r\n"
              "Starting Dil Pressure(Bar) : 300.0\r\n"
              "Starting PO2 Sensor 1 (Bar): 1.10\r\n"
              "Starting PO2 Sensor 2 (Bar): 0.70\r\n"
              "Starting PO2 Sensor 1 (mV) : 45\r\n"
              "Starting PO2 Sensor 2 (mV) : 46\r\n"
              "Starting Depth (m)         : 1.2\r\n"
              "Depth offset (m)           : 6553.1\r\n"
              "Mouthpiece Position        : Unknown (7)\r\n"
              "Version number of logger   : 4660\r\n"
              "Assumed FO2 of oxygen      : 100\r\n"
              "Software version           : 42\r\n"
              "Battery Serial number      : ABCD\r\n"
              "Rig Serial number          : 0001\r\n"
              "Number of logs             : 261\r\n"
              "Days since learn cycle     : 3\r\n"
              "Helium percentage          : 35\r\n"
              "Nitrogen percentage        : 79\r\n"
              "Battery SoC (%)            : 90\r\n"
              "Battery millivoltage       : 4200\r\n"
              "Battery cycles             : 300\r\n"
              "Cumulative OTUs            : 10000\r\n"
              "Nitrogen tension 1         : 1.0000\r\n"
              "Nitrogen tension 2         : 0.0000\r\n"
              "Nitrogen tension 3         : 0.0000\r\n"
              "Nitrogen tension 4         : 0.0000\r\n"
              "Nitrogen tension 5         : 0.0000\r\n"
              "Nitrogen tension 6         : 0.0000\r\n"
              "Nitrogen tension 7         : 0.0000\r\n"
              "Nitrogen tension 8         : 0.0000\r\n"
              "Nitrogen tension 9         : 0.2500\r\n"
              "Helium tension 1           : 0.2500\r\n"
              "Helium tension 2           : 0.0000\r\n"
              "Helium tension 3           : 0.0000\r\n"
              "Helium tension 4           : 0.0000\r\n"
              "Helium tension 5           : 0.0000\r\n"
              "Helium tension 6           : 0.0000\r\n"
              "Helium tension 7           : 0.0000\r\n"
              "Helium tension 8           : 0.0000\r\n"
              "Helium tension 9           : 1.0000\r\n"
              "Surface interval           : -1\r\n"
              "Deco rig                   : 1\r\n");
}

TEST(HeaderTextFile, ReadingBackKeepsOnlyTheFirstLine)
{
    TempDir dir;
    struct Row {
        const char* content;
        const char* text;
    };
    const Row rows[] = {{"Ravo_Config v1.35\r\n\r\n FF", "Ravo_Config v1.35"},
                        {"Ravo_Config v1.35\nsecond\n", "Ravo_Config v1.35"},
                        {"no line end", "no line end"},
                        {"", ""}};
    for (const Row& row : rows) {
        writeFile(dir.file("h.txt"), row.content);
        CDiveHeaderOrangebox dive;
        dive.raw[0] = 0xFF;
        dive.valid = true;
        EXPECT_EQ(dive.ReadOrangeBoxTxt(dir.file("h.txt")), 0);
        EXPECT_EQ(dive.text, row.text);
        EXPECT_EQ(dive.raw[0], 0);
        EXPECT_FALSE(dive.valid);
        CDiveHeaderRedbox redbox;
        EXPECT_EQ(redbox.ReadTxt(dir.file("h.txt")), 0);
        EXPECT_EQ(redbox.text, row.text);
    }
    CDiveHeaderOrangebox untouched;
    untouched.text = "kept";
    EXPECT_EQ(untouched.ReadOrangeBoxTxt(""), 0);
    EXPECT_EQ(untouched.text, "kept");
}

// A dive counts as saved only when its sample file holds the entry's record
// count and it is not marked partial.
TEST(DownloadPlan, FetchesWhatIsNotSavedComplete)
{
    TempDir dir;
    std::vector<CDiveInfo> directory(5);
    for (size_t i = 0; i < directory.size(); ++i) {
        directory[i].valid = 1;
        directory[i].unitNumber = 0xAB;
        directory[i].index = uint16_t(i);
        directory[i].startTime = uint32_t(1000 * i);
        directory[i].recordCount = 3;
    }
    directory[4].valid = 0;  // the unit did not answer for it
    auto save = [&](size_t i, size_t records, bool partial) {
        CDiveLog log = diveOfUnitAB();
        log.info = directory[i];
        log.samples.resize(records);
        log.partial = partial;
        ASSERT_EQ(log.saveDive(dir.path()), kLogSaved);
    };
    save(0, 3, false);  // complete
    save(1, 2, false);  // short, though not marked
    save(2, 3, true);   // every record, but the header did not arrive
    // 3: nothing saved
    std::vector<uint16_t> wanted;
    for (const CDiveInfo& entry : DivesToDownload(directory, dir.path()))
        wanted.push_back(entry.index);
    EXPECT_EQ(wanted, (std::vector<uint16_t>{1, 2, 3}));
}
