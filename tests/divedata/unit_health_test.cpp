// The unit's health across dives: the rules on the cells' start output, the
// warning line and table, the trend's drawing, and the figures read back from
// saved header files.
#include <gtest/gtest.h>

#include "divedata/dive_log.h"
#include "divedata/health_trend.h"
#include "divedata/unit_health.h"
#include "support/temp_dir.h"

using namespace ravo;
using ravo::test::TempDir;

namespace {

HealthDive known(int cell1, int cell2, const std::string& stamp = "2012-05-06_14-22-33_O")
{
    HealthDive d;
    d.stamp = stamp;
    d.known = true;
    d.cellMv[0] = cell1;
    d.cellMv[1] = cell2;
    d.batterySoC = 90;
    d.daysSinceLearn = 12;
    return d;
}

std::vector<HealthDive> series(const std::vector<std::pair<int, int>>& cells)
{
    std::vector<HealthDive> dives;
    for (size_t i = 0; i < cells.size(); ++i)
        dives.push_back(known(cells[i].first, cells[i].second, "2012-05-0" + std::to_string(i + 1) + "_10-00-00_O"));
    return dives;
}

std::vector<std::string> texts(const HealthReport& report, size_t dive)
{
    std::vector<std::string> out;
    for (const HealthFlag& f : report.flags)
        if (f.dive == dive)
            out.push_back(f.text);
    return out;
}

}  // namespace

TEST(UnitHealth, ACellThatSinksOverFiveDivesIsFlaggedOnceItHasAHistory)
{
    const HealthReport r = AssessHealth("1234", series({{47, 48}, {47, 47}, {47, 45}, {47, 42}, {47, 38}}));
    EXPECT_TRUE(texts(r, 0).empty());
    EXPECT_TRUE(texts(r, 2).empty()) << "two dives before are not yet a history";
    // Dive 4: 42 against the median 47 of 48, 47, 45: 10.6 % below.
    EXPECT_EQ(texts(r, 3), (std::vector<std::string>{"Cell 2 42 mV is 11% below its median of 47 mV over the 3 dives before"}));
    // Dive 5: 38 against the median 46 of 48, 47, 45, 42; and 9 mV from cell 1.
    EXPECT_EQ(texts(r, 4), (std::vector<std::string>{"Cell 2 38 mV is 17% below its median of 46 mV over the 4 dives before",
                                                    "Cells 1 and 2 differ by 9 mV (21% of their mean)"}));
    EXPECT_EQ(HealthWarningLine(r), "Warning (2012-05-05_10-00-00_O): Cell 2 38 mV is 17% below its median of 46 mV "
                                    "over the 4 dives before; Cells 1 and 2 differ by 9 mV (21% of their mean); "
                                    "1 earlier dive flagged");
}

TEST(UnitHealth, EachRuleAtItsThreshold)
{
    struct Row {
        std::vector<std::pair<int, int>> cells;
        size_t flagged;  // flags on the last dive
        const char* why;
    };
    const Row rows[] = {
        {{{30, 30}}, 0, "30 mV is the band's low end"},
        {{{29, 30}}, 1, "29 mV is below the band"},
        {{{70, 70}}, 0, "70 mV is the band's high end"},
        {{{71, 70}}, 1, "71 mV is above the band"},
        {{{0, 46}}, 2, "a dead cell: out of band and far from its partner"},
        {{{46, 40}}, 0, "6 mV is 14% of the mean 43"},
        {{{46, 39}}, 1, "7 mV is 16% of the mean 42.5"},
        {{{50, 50}, {50, 50}, {50, 50}, {45, 45}}, 0, "exactly 10% below the median is not more"},
        {{{50, 50}, {50, 50}, {50, 50}, {44, 44}}, 2, "12% below: both cells"},
        {{{50, 50}, {50, 50}, {40, 40}}, 0, "two dives before are no history"},
        {{{60, 60}, {60, 60}, {60, 60}, {60, 60}, {60, 60}, {60, 60}, {60, 60}, {60, 60}, {60, 60}, {60, 60},
          {40, 40}, {40, 40}, {40, 40}, {40, 40}, {40, 40}, {40, 40}, {40, 40}, {40, 40}, {40, 40}, {40, 40}, {40, 40}},
         0, "a replaced pair: the last 10 dives' median follows the new level"},
    };
    for (const Row& row : rows) {
        const HealthReport r = AssessHealth("1234", series(row.cells));
        EXPECT_EQ(texts(r, row.cells.size() - 1).size(), row.flagged) << row.why;
    }
}

TEST(UnitHealth, DivesWithoutAKnownHeaderTakeNoPart)
{
    std::vector<HealthDive> dives = series({{47, 48}, {47, 47}, {47, 47}});
    HealthDive unknown;
    unknown.stamp = "2012-05-04_10-00-00_O";
    dives.push_back(unknown);
    dives.push_back(known(47, 42, "2012-05-05_10-00-00_O"));
    const HealthReport r = AssessHealth("1234", dives);
    EXPECT_TRUE(texts(r, 3).empty()) << "an unknown header is not out of band";
    EXPECT_EQ(texts(r, 4).size(), 1u) << "the median skips the unknown dive";
    const auto rows = HealthTableRows(r);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Dive", "Cell 1 mV", "Cell 2 mV", "Battery %", "Days since learn", "Flags"}));
    EXPECT_EQ(rows[4], (std::vector<std::string>{"2012-05-04_10-00-00_O", "-", "-", "-", "-", "header not known"}));
    EXPECT_EQ(rows[1], (std::vector<std::string>{"2012-05-01_10-00-00_O", "47", "48", "90", "12", ""}));

    EXPECT_EQ(HealthWarningLine(AssessHealth("1234", {unknown})), "No dive of this unit holds health figures");
    EXPECT_EQ(HealthWarningLine(AssessHealth("1234", series({{47, 47}}))), "No warnings");
    EXPECT_EQ(HealthWarningLine(AssessHealth("1234", series({{20, 20}, {47, 47}}))),
              "No warning on the latest dive; 1 earlier dive flagged");
}

TEST(UnitHealth, FiguresAreReadFromTheSavedHeaderFilesInDateOrder)
{
    TempDir dir;
    const uint8_t cell2[] = {48, 47, 45, 42, 38};
    // Saved newest first: the order on disk must not matter.
    for (int i = 4; i >= 0; --i) {
        CDiveLog log;
        log.isDive = true;
        log.info.valid = 1;
        log.info.unitNumber = 0x1234;
        log.info.startTime = 400000000u + uint32_t(i) * 86400;
        log.info.recordCount = 1;
        log.samples = {{0, KindDepth, 4}};
        uint8_t* r = log.header.raw;
        r[0] = r[1] = 0xFF;
        r[14] = 47;
        r[15] = cell2[i];
        r[31] = uint8_t(10 + i);  // days since learn
        r[34] = uint8_t(95 - i);  // battery %
        log.header.Parse();
        ASSERT_EQ(log.saveDive(dir.path()), kLogSaved);
    }
    // Another unit's dive and a dive whose header file holds no bytes.
    CDiveLog other;
    other.isDive = true;
    other.info.valid = 1;
    other.info.unitNumber = 0x00AB;
    other.samples = {{0, KindDepth, 4}};
    ASSERT_EQ(other.saveDive(dir.path()), kLogSaved);

    const std::vector<HealthDive> dives = ReadHealthDives(dir.path(), "1234");
    ASSERT_EQ(dives.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(dives[size_t(i)].known);
        EXPECT_EQ(dives[size_t(i)].cellMv[1], cell2[i]);
        EXPECT_EQ(dives[size_t(i)].daysSinceLearn, 10 + i);
        EXPECT_EQ(dives[size_t(i)].batterySoC, 95 - i);
    }
    EXPECT_LT(dives[0].stamp, dives[4].stamp);
    EXPECT_EQ(AssessHealth("1234", dives).flags.size(), 3u);

    const std::vector<HealthDive> ab = ReadHealthDives(dir.path(), "AB");
    ASSERT_EQ(ab.size(), 1u);
    EXPECT_FALSE(ab[0].known) << "a header of zeros holds no figures";
}

TEST(HealthTrend, DrawsEachCellBatteryAndDaysWithFlagsAndGaps)
{
    std::vector<HealthDive> dives = series({{47, 48}, {47, 47}, {47, 45}, {47, 42}, {47, 38}});
    dives[1].known = false;
    const HealthReport r = AssessHealth("1234", dives);
    const HealthTrendColours c;
    const DrawList list = DrawHealthTrend(r, 600, 400, c);
    EXPECT_EQ(list.width, 600);
    ASSERT_FALSE(list.ops.empty());
    EXPECT_EQ(list.ops.front().kind, DrawKind::Fill);
    // Lines are 2 pixels wide, the dives' marks 1, the flags' squares 2.
    auto polylines = [&](Rgb colour, int width = 2) {
        std::vector<const DrawOp*> found;
        for (const DrawOp& op : list.ops)
            if (op.kind == DrawKind::Polyline && op.colour == colour && op.width == width)
                found.push_back(&op);
        return found;
    };
    EXPECT_EQ(polylines(c.cell[1], 1).size(), 4u) << "a mark on each known dive";
    // The unknown second dive splits each line into a tick and a run of three.
    ASSERT_EQ(polylines(c.cell[1]).size(), 2u);
    EXPECT_EQ(polylines(c.cell[1])[1]->points.size(), 3u);
    EXPECT_EQ(polylines(c.battery).size(), 2u);
    EXPECT_EQ(polylines(c.days).size(), 2u);
    // Cell 2 sinks: its last point lies lower on the canvas than its third.
    const auto& run = polylines(c.cell[1])[1]->points;
    EXPECT_GT(run.back().y, run.front().y);
    const HealthTrendLayout l = HealthTrendLayoutFor(r, 600, 400);
    EXPECT_EQ(run.back().x, l.xOf(4, 5));
    EXPECT_EQ(run.back().y, HealthTrendLayout::yOf(l.cells, 38));
    EXPECT_GE(polylines(c.flag).size(), 1u);
    // Every point stays on the canvas.
    for (const DrawOp& op : list.ops)
        for (const DrawPoint& p : op.points) {
            EXPECT_GE(p.x, -5);
            EXPECT_LE(p.x, 605);
            EXPECT_GE(p.y, 0);
            EXPECT_LE(p.y, 400);
        }
    EXPECT_NO_THROW(DrawHealthTrend(AssessHealth("1234", {}), 10, 10));
}
