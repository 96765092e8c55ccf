#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "divedata/dive_graph.h"
#include "divedata/dive_summary.h"
#include "divedata/graph_ticks.h"
#include "divedata/time_texts.h"

using namespace ravo;

namespace {

CDiveLog logOf(std::vector<CDiveDataRecord> samples, uint32_t unit = 0x1A2B)
{
    CDiveLog log;
    log.info.valid = 1;
    log.info.unitNumber = unit;
    log.info.recordCount = uint32_t(samples.size());
    log.isDive = true;
    log.samples = std::move(samples);
    return log;
}

const DrawOp* findText(const DrawList& list, const std::string& text)
{
    for (const DrawOp& op : list.ops)
        if (op.kind == DrawKind::Text && op.text == text)
            return &op;
    return nullptr;
}

std::vector<std::string> textsOf(const DrawList& list)
{
    std::vector<std::string> texts;
    for (const DrawOp& op : list.ops)
        if (op.kind == DrawKind::Text)
            texts.push_back(op.text);
    return texts;
}

// The right-hand time label: aligned right at the frame's right edge.
std::string rightTimeLabel(const DiveGraph& g, const DrawList& list)
{
    const DiveGraph::Layout l = g.layoutFor(list.width, list.height);
    for (const DrawOp& op : list.ops)
        if (op.kind == DrawKind::Text && op.alignH == AlignH::Right && op.points[0] == DrawPoint{l.right, l.bottom + 4})
            return op.text;
    return {};
}

std::string bottomDepthLabel(const DrawList& list)
{
    int seen = 0;
    for (const DrawOp& op : list.ops)
        if (op.kind == DrawKind::Text && ++seen == 3)
            return op.text;
    return {};
}

// The depth profile: the last polyline in the line's colour.
const DrawOp* profileOf(const DiveGraph& g, const DrawList& list)
{
    const DrawOp* found = nullptr;
    for (const DrawOp& op : list.ops)
        if (op.kind == DrawKind::Polyline && op.colour == g.lineColour)
            found = &op;
    return found;
}

// The rows a polyline covers in pixel column x (its axis-aligned segments).
std::pair<int, int> rowsInColumn(const DrawOp& line, int x)
{
    int lo = INT32_MAX, hi = INT32_MIN;
    for (size_t i = 0; i + 1 < line.points.size(); ++i) {
        const DrawPoint a = line.points[i], b = line.points[i + 1];
        if (std::min(a.x, b.x) <= x && x <= std::max(a.x, b.x)) {
            if (a.x == b.x) {
                lo = std::min({lo, a.y, b.y});
                hi = std::max({hi, a.y, b.y});
            } else {
                lo = std::min(lo, a.y);
                hi = std::max(hi, a.y);
            }
        }
    }
    return {lo, hi};
}

// Depth samples every second, for `seconds`: down to `deepest` metres and up
// again with stops, and a temperature sample every minute.
CDiveLog longDive(uint32_t seconds, double deepest)
{
    CDiveLog log = logOf({});
    uint64_t t = 0;
    for (uint32_t s = 0; s <= seconds; ++s, ++t) {
        double depth;
        if (s < 600)
            depth = deepest * s / 600.0;
        else if (s + 1800 < seconds)
            depth = deepest;
        else if (s + 60 < seconds)
            depth = 6.0;  // a long stop before surfacing
        else
            depth = 6.0 * (seconds - s) / 60.0;
        log.samples.push_back({uint16_t(t), KindDepth, uint8_t(std::lround(depth * 2))});
        if (s % 60 == 0)
            log.samples.push_back({uint16_t(t), KindTemperature, uint8_t(80 - s / 600)});
    }
    log.info.recordCount = uint32_t(log.samples.size());
    return log;
}

}  // namespace

TEST(DiveGraph, ConstructedDefaults)
{
    DiveGraph g;
    EXPECT_EQ(g.xTitle, "Time (min)");
    EXPECT_EQ(g.yTitle, "Depth (m)");
    EXPECT_EQ(g.maxTime, 600u);
    EXPECT_EQ(g.dataMin, 0.0);
    EXPECT_EQ(g.backColour, (Rgb{30, 30, 94}));
    EXPECT_EQ(g.lineColour, (Rgb{255, 255, 255}));
    EXPECT_FALSE(g.curves.any());
    // Title column, then three label characters.
    EXPECT_EQ(g.layoutFor(800, 500).plotLeft, 2 + 16 + 18);
}

TEST(DiveGraph, StepProfileSeriesAndFigures)
{
    DiveGraph g;
    CDiveLog log = logOf({{0, 8, 0}, {60, 8, 20}, {120, 8, 40}, {180, 8, 0}});
    g.SetData(&log);
    EXPECT_TRUE(g.hasData);
    EXPECT_TRUE(g.hasDepth);
    EXPECT_DOUBLE_EQ(g.maxDepth, 20.0);
    EXPECT_DOUBLE_EQ(g.dataMin, -20.0);
    EXPECT_DOUBLE_EQ(g.dataMax, 0.0);
    EXPECT_EQ(g.maxTime, 600u);
    for (uint64_t s : {0, 59, 180, 181, 10799, 1000000})
        EXPECT_EQ(g.series[s], 0.0) << s;
    for (uint64_t s : {60, 119})
        EXPECT_EQ(g.series[s], -10.0) << s;
    for (uint64_t s : {120, 179})
        EXPECT_EQ(g.series[s], -20.0) << s;
    DrawList list = g.Draw(800, 500);
    EXPECT_EQ(bottomDepthLabel(list), "20");
    EXPECT_EQ(rightTimeLabel(g, list), "10");
}

TEST(DiveGraph, ShallowDiveStillSpansTenMetres)
{
    DiveGraph g;
    CDiveLog log = logOf({{0, 8, 4}, {30, 8, 6}, {90, 8, 0}});
    g.SetData(&log);
    EXPECT_DOUBLE_EQ(g.dataMin, -10.0);
    EXPECT_EQ(bottomDepthLabel(g.Draw(800, 500)), "10");
}

TEST(DiveGraph, BottomLabelRoundsHalvesAwayFromZero)
{
    DiveGraph g;
    CDiveLog log = logOf({{0, 8, 0}, {1, 8, 69}, {10, 8, 0}});  // 34.5 m
    g.SetData(&log);
    EXPECT_DOUBLE_EQ(g.dataMin, -34.5);
    EXPECT_EQ(bottomDepthLabel(g.Draw(800, 500)), "35");
}

TEST(DiveGraph, LogWithoutDepthDrawsNoLineButFollowsTime)
{
    DiveGraph g;
    CDiveLog log = logOf({{10, 39, 80}, {1000, 14, 200}});
    g.SetData(&log);
    EXPECT_FALSE(g.hasData);
    EXPECT_FALSE(g.hasDepth);
    EXPECT_EQ(g.maxTime, 1000u);
    DrawList list = g.Draw(800, 500);
    EXPECT_EQ(profileOf(g, list), nullptr);
    EXPECT_EQ(rightTimeLabel(g, list), "17");
}

// The time axis is as long as the dive, however long: no three-hour end.
TEST(DiveGraph, AxisLengths)
{
    struct Row {
        uint16_t lastTime;
        uint64_t axis;
        const char* label;
    };
    const Row rows[] = {{100, 600, "10"}, {4000, 4000, "67"}, {20000, 20000, "334"}};
    for (const Row& row : rows) {
        DiveGraph g;
        CDiveLog log = logOf({{0, 8, 10}, {row.lastTime, 8, 10}});
        g.SetData(&log);
        DrawList list = g.Draw(800, 500);
        EXPECT_EQ(g.maxTime, row.axis);
        EXPECT_EQ(rightTimeLabel(g, list), row.label);
    }
}

// A 222-minute dive is drawn to its end: the deco stop after three hours and
// the ascent are there, the line ends at the frame's right edge at the surface.
TEST(DiveGraph, A222MinuteDiveIsDrawnToTheEnd)
{
    DiveGraph g;
    CDiveLog log = longDive(13320, 40.0);
    g.SetData(&log);
    EXPECT_EQ(g.maxTime, 13320u);
    EXPECT_DOUBLE_EQ(g.maxDepth, 40.0);
    EXPECT_EQ(g.series[12000], -6.0);  // the stop, after 200 minutes
    EXPECT_EQ(g.series[13300], -2.0);  // the ascent's last metres
    EXPECT_NE(DiveSummaryText(log, g).find("\r\nDuration 222.0 minute, with maxDepth of 40.0 meter"), std::string::npos);

    const DrawList list = g.Draw(800, 500);
    EXPECT_EQ(rightTimeLabel(g, list), "222");
    const DiveGraph::Layout l = g.layoutFor(800, 500);
    const DrawOp* profile = profileOf(g, list);
    ASSERT_NE(profile, nullptr);
    EXPECT_EQ(profile->points.back(), (DrawPoint{l.right - 1, 4}));
    const int stopRow = g.yPixel(-6.0, 0.0, -40.0, l.plotHeight);
    const int stopColumn = g.xPixel(l, g.wholeSpan(), 12000);
    EXPECT_EQ(rowsInColumn(*profile, stopColumn), std::make_pair(stopRow, stopRow));
    // In the last columns the line climbs from the stop to the surface.
    int highest = INT32_MAX, lowest = INT32_MIN;
    for (int x = l.right - 6; x < l.right; ++x) {
        const auto rows = rowsInColumn(*profile, x);
        highest = std::min(highest, rows.first);
        lowest = std::max(lowest, rows.second);
    }
    EXPECT_EQ(highest, 4);
    EXPECT_EQ(lowest, stopRow);
}

// Ten hours is past no limit either, and the line keeps only what a pixel
// column can show: entry, extremes and exit per column.
TEST(DiveGraph, ATenHourDiveIsDrawnWholeInAFewPointsPerColumn)
{
    DiveGraph g;
    CDiveLog log = longDive(36000, 60.0);
    g.SetData(&log);
    EXPECT_EQ(g.maxTime, 36000u);
    const DrawList list = g.Draw(1600, 900);
    const DiveGraph::Layout l = g.layoutFor(1600, 900);
    EXPECT_EQ(rightTimeLabel(g, list), "600");
    const DrawOp* profile = profileOf(g, list);
    ASSERT_NE(profile, nullptr);
    EXPECT_LE(profile->points.size(), size_t(4 * (l.right - l.plotLeft)));
    EXPECT_EQ(profile->points.front().x, l.plotLeft + 1);
    EXPECT_EQ(profile->points.back(), (DrawPoint{l.right - 1, 4}));
    // During the descent each column covers exactly the rows of its seconds.
    const TimeSpan whole = g.wholeSpan();
    for (int x = l.plotLeft + 2; x < g.xPixel(l, whole, 590); x += 3) {
        int lo = INT32_MAX, hi = INT32_MIN;
        for (uint64_t s = 0; s < 600; ++s)
            if (g.xPixel(l, whole, double(s)) == x) {
                lo = std::min(lo, g.yPixel(g.series[s], 0.0, g.dataMin, l.plotHeight));
                hi = std::max(hi, g.yPixel(g.series[s], 0.0, g.dataMin, l.plotHeight));
            }
        if (lo > hi)
            continue;
        const auto drawn = rowsInColumn(*profile, x);
        EXPECT_LE(drawn.first, lo) << x;
        EXPECT_GE(drawn.second, hi) << x;
    }
}

// Past the 16-bit sample clock's wrap at 65536 s the dive goes on.
TEST(DiveGraph, ALogPastTheClockWrapIsDrawnWhole)
{
    DiveGraph g;
    CDiveLog log = logOf({{0, 8, 0}, {60, 8, 20}, {65530, 8, 40}, {200, 8, 10}, {6000, 8, 0}});
    g.SetData(&log);
    EXPECT_EQ(g.maxTime, 65536u + 6000u);
    EXPECT_EQ(g.series[65535], -20.0);
    EXPECT_EQ(g.series[65536 + 100], -20.0);
    EXPECT_EQ(g.series[65536 + 200], -5.0);
    const DrawList list = g.Draw(800, 500);
    const DrawOp* profile = profileOf(g, list);
    ASSERT_NE(profile, nullptr);
    EXPECT_EQ(profile->points.back().x, g.layoutFor(800, 500).right - 1);
}

TEST(DiveGraph, TimeWraps)
{
    DiveGraph g;
    CDiveLog wrapped = logOf({{0, 39, 80}, {30000, 39, 80}, {65530, 39, 80}, {3, 39, 80}});
    g.SetData(&wrapped);
    EXPECT_EQ(g.maxTime, 65539u);

    CDiveLog backwards = logOf({{0, 8, 20}, {100, 8, 20}, {95, 8, 40}, {200, 8, 0}});
    g.SetData(&backwards);
    EXPECT_EQ(g.maxTime, 600u);
    EXPECT_EQ(g.series[99], -10.0);
    EXPECT_EQ(g.series[100], -20.0);  // 95 counted as 100: 40 from second 100 on
    EXPECT_EQ(g.series[199], -20.0);

    // A jump forward of 65527 or more is a step back across a wrap.
    CDiveLog jump = logOf({{5, 39, 80}, {65532, 39, 80}});
    g.SetData(&jump);
    EXPECT_EQ(g.maxTime, 600u);
    // Within 8 seconds backwards: no wrap, no time.
    CDiveLog small = logOf({{700, 39, 80}, {692, 39, 80}});
    g.SetData(&small);
    EXPECT_EQ(g.maxTime, 700u);
}

TEST(DiveGraph, TemperatureAndPressureFigures)
{
    DiveGraph g;
    CDiveLog log = logOf({{1, 39, 80}, {2, 39, 72}, {3, 39, 90}, {4, 14, 200}, {5, 14, 190}, {6, 14, 150},
                          {7, 13, 180}, {8, 99, 1}});
    g.SetData(&log);
    EXPECT_TRUE(g.hasTemp);
    EXPECT_DOUBLE_EQ(g.tempMin, 18.0);
    EXPECT_DOUBLE_EQ(g.tempMax, 22.5);
    EXPECT_TRUE(g.hasDil);
    EXPECT_DOUBLE_EQ(g.dilStart, 200);
    EXPECT_DOUBLE_EQ(g.dilStop, 150);
    EXPECT_TRUE(g.hasO2);
    EXPECT_DOUBLE_EQ(g.o2Start, 180);
    EXPECT_DOUBLE_EQ(g.o2Stop, 180);
    EXPECT_EQ(g.figures.records, 8u);
    EXPECT_EQ(g.figures.lastTime, 8u);
}

TEST(DiveGraph, SetDataResetsFromTheLastLog)
{
    DiveGraph g;
    CDiveLog log = logOf({{0, 8, 40}, {700, 8, 0}, {701, 39, 80}});
    g.SetData(&log);
    g.SetData(nullptr);
    EXPECT_FALSE(g.hasData);
    EXPECT_FALSE(g.hasTemp);
    EXPECT_TRUE(g.temperatureCurve.empty());
    EXPECT_EQ(g.maxTime, 600u);
    EXPECT_EQ(g.dataMin, -10.0);
    EXPECT_EQ(g.series[10], 0.0);
}

TEST(DiveGraph, LayoutMakesRoomForTheLabels)
{
    DiveGraph g;
    DiveGraph::Layout l = g.layoutFor(800, 500);
    EXPECT_EQ(l.labelChars, 3);
    EXPECT_EQ(l.right, 795);
    EXPECT_EQ(l.bottom, 459);  // a row for the tick labels above the title's
    EXPECT_EQ(l.midY, 230);
    EXPECT_EQ(l.midX, (36 + 795) / 2);
    EXPECT_EQ(l.rightChars, 0);
    g.yTopLabel.clear();
    EXPECT_EQ(g.layoutFor(800, 500).plotLeft, 2 + 16 + 6 * 6);  // log10(100) = 2, + 4
    g.decimals = 1;
    g.fixedMin = -0.5;
    EXPECT_EQ(g.layoutFor(800, 500).plotLeft, 2 + 16 + 6 * 7);

    // A dive to 120 m has three-digit labels.
    DiveGraph deep;
    CDiveLog log = logOf({{0, 8, 240}, {60, 8, 0}});
    deep.SetData(&log);
    EXPECT_EQ(deep.layoutFor(800, 500).labelChars, 5);
}

TEST(DiveGraph, DrawingList)
{
    DiveGraph g;
    CDiveLog log = logOf({{0, 8, 0}, {60, 8, 20}, {120, 8, 40}, {180, 8, 0}});
    g.SetData(&log);
    DrawList list = g.Draw(800, 500);
    ASSERT_GE(list.ops.size(), 3u);
    EXPECT_EQ(list.fontFace, "Arial");
    EXPECT_EQ(list.fontHeight, 14);
    EXPECT_EQ(list.fontWeight, 300);
    EXPECT_EQ(list.ops[0].kind, DrawKind::Fill);
    EXPECT_EQ(list.ops[0].colour, (Rgb{30, 30, 94}));
    // Labels of two characters: plotLeft = 2 + 16 + 6 * 4.
    const DrawOp& frame = list.ops[1];
    EXPECT_EQ(frame.colour, (Rgb{122, 122, 255}));
    EXPECT_EQ(frame.points, (std::vector<DrawPoint>{{42, 2}, {795, 2}, {795, 459}, {42, 459}, {42, 2}}));

    // Dotted grid lines at the round depths (every 2 m) and times (every
    // minute on 751 pixels for 10 minutes), in the frame's colour.
    std::vector<int> gridRows, gridColumns;
    for (const DrawOp& op : list.ops)
        if (op.kind == DrawKind::Points && op.colour == g.frameColour) {
            ASSERT_GE(op.points.size(), 2u);
            if (op.points[0].y == op.points[1].y)
                gridRows.push_back(op.points[0].y);
            else
                gridColumns.push_back(op.points[0].x);
            EXPECT_EQ(std::abs(op.points[1].x - op.points[0].x) + std::abs(op.points[1].y - op.points[0].y), 4);
        }
    EXPECT_EQ(gridRows.size(), 9u);     // 2 .. 18 m
    EXPECT_EQ(gridColumns.size(), 9u);  // 1 .. 9 min
    EXPECT_EQ(*std::min_element(gridRows.begin(), gridRows.end()), g.yPixel(-2.0, 0.0, -20.0, 457));

    const DrawOp* top = findText(list, "0");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->points[0], (DrawPoint{38, 2}));
    EXPECT_EQ(top->alignH, AlignH::Right);
    EXPECT_EQ(top->alignV, AlignV::Top);
    const DrawOp* title = findText(list, "Depth (m)");
    ASSERT_NE(title, nullptr);
    EXPECT_TRUE(title->upward);
    EXPECT_EQ(title->points[0], (DrawPoint{14, 230}));
    EXPECT_EQ(title->alignH, AlignH::Centre);
    EXPECT_EQ(title->alignV, AlignV::Baseline);
    const DrawOp* xTitle = findText(list, "Time (min)");
    ASSERT_NE(xTitle, nullptr);
    EXPECT_EQ(xTitle->points[0], (DrawPoint{418, 479}));
    EXPECT_EQ(xTitle->colour, (Rgb{180, 180, 180}));
    const DrawOp* tenMetres = findText(list, "10");
    ASSERT_NE(tenMetres, nullptr);
    EXPECT_EQ(tenMetres->points[0], (DrawPoint{38, 230}));
    EXPECT_EQ(tenMetres->alignV, AlignV::Centre);
    const DrawOp* fiveMinutes = findText(list, "5");
    ASSERT_NE(fiveMinutes, nullptr);
    EXPECT_EQ(fiveMinutes->points[0], (DrawPoint{43 + 375, 463}));

    // Each second's value over that second: yScale = 453 / 20, x = 43 + t * 751 / 600.
    const DrawOp* profile = profileOf(g, list);
    ASSERT_NE(profile, nullptr);
    EXPECT_EQ(profile->points, (std::vector<DrawPoint>{{43, 4}, {118, 4}, {118, 230}, {193, 230}, {193, 457},
                                                       {268, 457}, {268, 4}, {794, 4}}));
}

TEST(DiveGraph, FixedRangeClampsValues)
{
    DiveGraph g;
    g.autoScale = false;
    g.fixedMax = 0.0;
    g.fixedMin = -10.0;
    g.stepLines = false;
    CDiveLog log = logOf({{0, 8, 60}, {600, 8, 0}});  // 30 m, below the range
    g.SetData(&log);
    DrawList list = g.Draw(800, 500);
    const DrawOp* profile = profileOf(g, list);
    ASSERT_NE(profile, nullptr);
    // 30 m is drawn at the bottom of the range (-10), not below the frame.
    EXPECT_EQ(profile->points.front().y, 457);
    EXPECT_EQ(profile->points.back().y, 457);
}

TEST(DiveGraph, TinyWindowsDoNotBreak)
{
    DiveGraph g;
    g.curves = {true, true, true};
    CDiveLog log = logOf({{0, 8, 60}, {5, 39, 80}, {6, 13, 200}, {600, 8, 0}});
    g.SetData(&log);
    for (auto [w, h] : {std::pair{0, 0}, {1, 1}, {10, 30}, {30, 10}, {-5, -5}}) {
        DrawList list = g.Draw(w, h);
        EXPECT_EQ(list.width, w);
        EXPECT_FALSE(list.ops.empty());
        g.DrawHover(w, h, g.wholeSpan(), 10.0);
    }
}

TEST(GraphTicks, RoundValuesForAFewRanges)
{
    // Metres: 1, 2 or 5 times a power of ten, at least 30 pixels apart.
    EXPECT_EQ(RoundStep(20, 453, 30, 1), 2.0);
    EXPECT_EQ(RoundStep(52, 453, 30, 1), 5.0);
    EXPECT_EQ(RoundStep(120, 300, 30, 1), 20.0);
    EXPECT_EQ(RoundStep(10, 900, 30, 1), 1.0);  // never finer than a metre
    EXPECT_EQ(RoundStep(3, 400, 30, 0.5), 0.5);
    // Seconds on a time axis, at least 60 pixels apart.
    EXPECT_EQ(RoundTimeStep(600, 751, 60), 60u);
    EXPECT_EQ(RoundTimeStep(3360, 751, 60), 300u);
    EXPECT_EQ(RoundTimeStep(13320, 751, 60), 1200u);
    EXPECT_EQ(RoundTimeStep(36000, 1500, 60), 1800u);
    EXPECT_EQ(RoundTimeStep(60, 1500, 60), 30u);
    EXPECT_EQ(TickValues(-52, 0, 10), (std::vector<double>{-50, -40, -30, -20, -10, 0}));
    EXPECT_EQ(TickValues(16.5, 22.5, 2), (std::vector<double>{18, 20, 22}));
    EXPECT_EQ(MinutesLabel(3600), "60");
    EXPECT_EQ(MinutesLabel(750), "12.5");
    EXPECT_EQ(MinutesSecondsText(13330), "222:10");
}

TEST(DiveGraph, TickLabelsOnBothAxesAtRoundValues)
{
    DiveGraph g;
    // 52 m and 56 minutes: the dive the bare end labels told little about.
    CDiveLog log = logOf({{0, 8, 0}, {120, 8, 104}, {3000, 8, 10}, {3360, 8, 0}});
    g.SetData(&log);
    const DrawList list = g.Draw(800, 500);
    const DiveGraph::Layout l = g.layoutFor(800, 500);
    std::vector<std::string> depths, times;
    for (const DrawOp& op : list.ops) {
        if (op.kind != DrawKind::Text)
            continue;
        if (op.points[0].x == l.plotLeft - 4)
            depths.push_back(op.text);
        else if (op.points[0].y == l.bottom + 4)
            times.push_back(op.text);
    }
    // 50 m would sit on the bottom label, 55 min on the right one.
    EXPECT_EQ(depths, (std::vector<std::string>{"0", "52", "45", "40", "35", "30", "25", "20", "15", "10", "5"}));
    EXPECT_EQ(times, (std::vector<std::string>{"0", "56", "5", "10", "15", "20", "25", "30", "35", "40", "45", "50"}));
}

TEST(DiveGraph, AZoomedSpanHasItsOwnEndsAndTicks)
{
    DiveGraph g;
    CDiveLog log = longDive(13320, 40.0);
    g.SetData(&log);
    const TimeSpan stop{11400, 12600};  // 190 to 210 minutes
    const DrawList list = g.Draw(800, 500, stop);
    const DiveGraph::Layout l = g.layoutFor(800, 500);
    EXPECT_EQ(rightTimeLabel(g, list), "210");
    const std::vector<std::string> texts = textsOf(list);
    for (const char* label : {"190", "192", "200", "208"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end()) << label;
    const DrawOp* profile = profileOf(g, list);
    ASSERT_NE(profile, nullptr);
    EXPECT_EQ(profile->points.front().x, l.plotLeft + 1);
    EXPECT_EQ(profile->points.back().x, l.right - 1);
    for (const DrawPoint& p : profile->points) {
        ASSERT_GE(p.x, l.plotLeft);
        ASSERT_LE(p.x, l.right);
    }
    // The time under a column and the column of a time agree.
    EXPECT_NEAR(g.timeAt(l, stop, g.xPixel(l, stop, 12000)), 12000, 2.0);
    EXPECT_EQ(g.timeAt(l, stop, 0), 11400.0);
}

TEST(DiveGraph, OptionalCurvesHaveTheirAxisColoursAndLegend)
{
    DiveGraph g;
    CDiveLog log = logOf({{0, 8, 0}, {0, 39, 88}, {0, 13, 200}, {0, 14, 190}, {600, 8, 40}, {600, 39, 72},
                          {1200, 13, 150}, {1200, 14, 170}, {1800, 8, 0}});
    g.SetData(&log);
    EXPECT_EQ(g.temperatureCurve.size(), 2u);
    auto colourUsed = [](const DrawList& list, Rgb colour) {
        return std::any_of(list.ops.begin(), list.ops.end(),
                           [&](const DrawOp& op) { return op.kind == DrawKind::Polyline && op.colour == colour; });
    };
    const DrawList plain = g.Draw(800, 500);
    EXPECT_FALSE(colourUsed(plain, g.temperatureColour));
    EXPECT_EQ(findText(plain, "Depth (m)") != nullptr, true);
    EXPECT_EQ(findText(plain, "O2 (bar)"), nullptr);

    g.curves = {true, true, true};
    const DrawList all = g.Draw(800, 500);
    EXPECT_TRUE(colourUsed(all, g.temperatureColour));
    EXPECT_TRUE(colourUsed(all, g.o2Colour));
    EXPECT_TRUE(colourUsed(all, g.dilColour));
    for (const char* text : {"Temp (\xC2\xB0" "C)", "Temperature (\xC2\xB0" "C)", "O2 (bar)", "Diluent (bar)", "200 bar",
                             "150 bar", "190 bar", "170 bar", "19.0", "21.0"})
        EXPECT_NE(findText(all, text), nullptr) << text;
    const DiveGraph::Layout l = g.layoutFor(800, 500);
    EXPECT_LT(l.right, 795);  // the temperature axis' column on the right
    const DrawOp* nineteen = findText(all, "19.0");
    ASSERT_NE(nineteen, nullptr);
    EXPECT_EQ(nineteen->points[0].x, l.right + 4);
    EXPECT_EQ(nineteen->colour, g.textColour);
}

// The readout at a known time: the depth of that second, temperature and
// pressures straight between their samples, nothing outside their samples.
TEST(DiveGraph, HoverReadoutAtAKnownTime)
{
    DiveGraph g;
    CDiveLog log = logOf({{0, 8, 0}, {60, 8, 47}, {100, 39, 80}, {100, 13, 200}, {200, 39, 72}, {300, 13, 180},
                          {600, 8, 0}});
    g.SetData(&log);
    HoverReadout r = g.ReadoutAt(150.7);
    EXPECT_EQ(r.time, 150u);
    EXPECT_TRUE(r.hasDepth);
    EXPECT_DOUBLE_EQ(r.depth, 23.5);
    EXPECT_TRUE(r.hasTemp);
    EXPECT_DOUBLE_EQ(r.temperature, 19.0);
    EXPECT_TRUE(r.hasO2);
    EXPECT_DOUBLE_EQ(r.o2, 195.0);
    EXPECT_FALSE(r.hasDil);
    EXPECT_EQ(r.lines(), (std::vector<std::string>{"Time 2:30", "Depth 23.5 m", "Temperature 19.0 \xC2\xB0" "C",
                                                   "O2 195 bar"}));
    EXPECT_EQ(r.text(), "Time 2:30, Depth 23.5 m, Temperature 19.0 \xC2\xB0" "C, O2 195 bar");
    r = g.ReadoutAt(30);
    EXPECT_FALSE(r.hasTemp);
    EXPECT_DOUBLE_EQ(r.depth, 0.0);
    EXPECT_EQ(g.ReadoutAt(1e9).time, 600u);

    const DrawList hover = g.DrawHover(800, 500, g.wholeSpan(), 150.7);
    const DiveGraph::Layout l = g.layoutFor(800, 500);
    const int x = g.xPixel(l, g.wholeSpan(), 150);
    const int y = g.yPixel(-23.5, 0.0, -23.5, l.plotHeight);
    bool marker = false;
    for (const DrawOp& op : hover.ops)
        marker = marker || (op.kind == DrawKind::Rect && op.points[0] == DrawPoint{x - 2, y - 2} &&
                            op.colour == g.markerColour);
    EXPECT_TRUE(marker);
    EXPECT_NE(findText(hover, "Depth 23.5 m"), nullptr);
    EXPECT_EQ(hover.ops.front().kind, DrawKind::Points);  // no background: it goes over the graph
    // Outside the span shown there is nothing to mark.
    EXPECT_TRUE(g.DrawHover(800, 500, {300, 600}, 150).ops.empty());
}

TEST(TimeWindow, ZoomKeepsTheTimeUnderTheCursorAndStaysInTheDive)
{
    TimeWindow w;
    w.setLength(13320);
    EXPECT_FALSE(w.zoomed());
    EXPECT_TRUE(w.zoomIn(3330));  // a quarter of the way across
    EXPECT_EQ(w.span(), (TimeSpan{1665, 1665 + 6660}));
    EXPECT_TRUE(w.zoomed());
    EXPECT_TRUE(w.zoomOut(3330));
    EXPECT_EQ(w.span(), (TimeSpan{0, 13320}));
    EXPECT_FALSE(w.zoomOut(100));  // never more than the whole dive

    // Deep in: never shorter than a minute.
    for (int i = 0; i < 20; ++i)
        w.zoomIn(13000);
    EXPECT_EQ(w.span().length(), TimeWindow::kShortestSpan);
    EXPECT_LE(w.span().end, 13320u);
    EXPECT_GE(w.span().end, 13000u);
    EXPECT_FALSE(w.zoomIn(13000));

    // Panning stops at the ends.
    EXPECT_TRUE(w.pan(1000));
    EXPECT_EQ(w.span(), (TimeSpan{13260, 13320}));
    EXPECT_FALSE(w.pan(10));
    EXPECT_TRUE(w.pan(-1e9));
    EXPECT_EQ(w.span(), (TimeSpan{0, 60}));

    // A dragged range, either way round; a short one widens to a minute.
    EXPECT_TRUE(w.zoomTo(12600, 11400));
    EXPECT_EQ(w.span(), (TimeSpan{11400, 12600}));
    EXPECT_TRUE(w.zoomTo(5000, 5010));
    EXPECT_EQ(w.span(), (TimeSpan{4975, 5035}));
    EXPECT_TRUE(w.reset());
    EXPECT_FALSE(w.reset());

    // A dive shorter than a minute cannot be zoomed; bad input changes nothing.
    TimeWindow tiny;
    tiny.setLength(40);
    EXPECT_FALSE(tiny.zoomIn(20));
    EXPECT_FALSE(w.zoomIn(std::nan("")));
    EXPECT_FALSE(w.zoomIn(100, 0.0));
}

TEST(DiveSvg, RendersEveryOperation)
{
    DiveGraph g;
    CDiveLog log = logOf({{0, 8, 0}, {60, 8, 20}, {120, 8, 40}, {180, 8, 0}, {10, 39, 80}});
    g.SetData(&log);
    g.xTitle = "a<b & \"c\"";
    g.curves.temperature = true;
    std::string svg = RenderSvg(g.Draw(640, 480));
    EXPECT_EQ(svg.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
                        "width=\"640\" height=\"480\"",
                        0),
              0u);
    EXPECT_NE(svg.find("<rect x=\"0\" y=\"0\" width=\"640\" height=\"480\" fill=\"#1e1e5e\"/>"), std::string::npos);
    EXPECT_NE(svg.find("<polyline fill=\"none\" stroke-linecap=\"square\" points=\"42.5,2.5 "), std::string::npos);
    EXPECT_NE(svg.find("stroke=\"#ffffff\" stroke-width=\"1\""), std::string::npos);
    EXPECT_NE(svg.find("transform=\"rotate(-90 14 220)\">Depth (m)</text>"), std::string::npos);
    EXPECT_NE(svg.find(">a&lt;b &amp; &quot;c&quot;</text>"), std::string::npos);
    EXPECT_NE(svg.find(">Temp (\xC2\xB0" "C)</text>"), std::string::npos);  // UTF-8 passes
    EXPECT_NE(svg.find("dominant-baseline=\"central\""), std::string::npos);
    EXPECT_NE(svg.find("<path d=\"M42 "), std::string::npos);  // a dotted grid line
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
    // Bytes that are not UTF-8 do not reach the document.
    g.xTitle = "bad \xFF";
    EXPECT_NE(RenderSvg(g.Draw(640, 480)).find(">bad ?</text>"), std::string::npos);
}

TEST(DiveSummary, Lines)
{
    DiveGraph g;
    CDiveLog empty;
    g.SetData(&empty);
    EXPECT_EQ(DiveSummaryText(empty, g), "Select a dive log");

    CDiveLog log = logOf({{0, 8, 20}, {300, 8, 0}, {301, 39, 80}, {302, 14, 200}, {303, 14, 150}, {304, 13, 150},
                          {305, 13, 160}});
    g.SetData(&log);
    EXPECT_EQ(DiveSummaryText(log, g),
              "Dive info: unit 1A2B (records 7)"
              "\r\nDuration 10.0 minute, with maxDepth of 10.0 meter"
              "\r\nTemp min 20.00 max 20.00"
              "\r\nHP-DIL start 200 bar to stop 150 bar (diff 50 bar)"
              "\r\nHP-O2 start 150 bar to stop 160 bar (diff -10 bar)");
}

TEST(DiveSummary, OnlyTheFiguresFound)
{
    DiveGraph g;
    CDiveLog noDepth = logOf({{5, 99, 1}}, 0xAB);
    g.SetData(&noDepth);
    EXPECT_EQ(DiveSummaryText(noDepth, g), "Dive info: unit 00AB (records 1)");

    CDiveLog long45 = logOf({{0, 8, 20}, {2730, 8, 0}}, 0xAB);
    g.SetData(&long45);
    EXPECT_EQ(DiveSummaryText(long45, g),
              "Dive info: unit 00AB (records 2)\r\nDuration 45.5 minute, with maxDepth of 10.0 meter");
}
