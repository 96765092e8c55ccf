// What the printed dive report shows: the page of a saved dive, laid out by
// the printer from these texts and the profile's draw list.
#include <gtest/gtest.h>

#include "divedata/dive_report.h"

using namespace ravo;

namespace {

SavedDive savedDive(bool withHeader)
{
    SavedDive dive;
    dive.ref = {"1A2B", "2012-05-06_14-22-33_2_O"};
    CDiveLog& log = dive.log;
    log.isDive = true;
    log.info.valid = 1;
    log.info.unitNumber = 0x1A2B;
    log.samples = {{0, KindDepth, 0}, {60, KindDepth, 40}, {90, KindHpO2, 190}, {700, KindDepth, 0}};
    log.info.recordCount = 4;
    if (withHeader) {
        uint8_t* r = log.header.raw;
        r[0] = r[1] = 0xFF;
        r[12] = 70, r[15] = 45, r[20] = 1, r[27] = 0x34, r[28] = 0x12, r[34] = 88;
        log.header.Parse();
        dive.headerKnown = true;
    }
    return dive;
}

std::string valueOf(const std::vector<ReportRow>& rows, const std::string& label)
{
    for (const ReportRow& row : rows)
        if (row.label == label)
            return row.value;
    return "(none)";
}

}  // namespace

TEST(DiveReport, APageHoldsTitleSummaryHeaderAndProfile)
{
    const DiveReportPage page = BuildDiveReportPage(savedDive(true));
    EXPECT_EQ(page.title, "Dive 1A2B  2012-05-06 14:22:33 UTC (dive 2 of that second)");
    ASSERT_EQ(page.summary.size(), 3u);
    EXPECT_EQ(page.summary[0], "Dive info: unit 1A2B (records 4)");
    EXPECT_EQ(page.summary[1], "Duration 11.7 minute, with maxDepth of 20.0 meter");
    EXPECT_EQ(valueOf(page.details, "Starting PO2 Sensor 1 (Bar)"), "0.70");
    EXPECT_EQ(valueOf(page.details, "Starting PO2 Sensor 2 (mV)"), "45");
    EXPECT_EQ(valueOf(page.details, "Mouthpiece Position"), "Closed Circuit (1)");
    EXPECT_EQ(valueOf(page.details, "Rig Serial number"), "1234");
    EXPECT_EQ(valueOf(page.details, "Battery SoC (%)"), "88");
    EXPECT_EQ(valueOf(page.details, "Dive started at"), "2000-01-01 00:00:00");
    EXPECT_EQ(valueOf(page.details, "Header"), "(none)");
    for (const ReportRow& row : page.details)
        EXPECT_EQ(row.label.find("tension"), std::string::npos) << row.label;
    EXPECT_EQ(page.profile.width, kReportProfileWidth);
    EXPECT_FALSE(page.profile.ops.empty());
}

TEST(DiveReport, AHeaderNotSavedOrNotValidSaysSo)
{
    const DiveReportPage page = BuildDiveReportPage(savedDive(false));
    ASSERT_EQ(page.details.size(), 1u);
    EXPECT_EQ(page.details[0].label, "Header");

    CDiveHeaderOrangebox header;
    header.raw[5] = 1;
    header.Parse();
    const std::vector<ReportRow> rows = HeaderDetailRows(header);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0].label, "Header");
    EXPECT_EQ(rows[0].value, "NOT valid");
}

TEST(DiveReport, PaperNamesAndFooter)
{
    PaperSize paper = PaperSize::A4;
    EXPECT_TRUE(ParsePaperSize("Letter", paper));
    EXPECT_EQ(paper, PaperSize::Letter);
    EXPECT_TRUE(ParsePaperSize("a4", paper));
    EXPECT_EQ(paper, PaperSize::A4);
    EXPECT_FALSE(ParsePaperSize("a5", paper));
    EXPECT_STREQ(PaperSizeName(PaperSize::Letter), "Letter");
    EXPECT_EQ(ReportFooter(2, 3), "Ravo_Config v1.35  page 2 of 3");
}
