#include <gtest/gtest.h>

#include "divedata/dive_graph.h"
#include "divedata/dive_summary.h"

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

// The last text op: the right-hand time label.
std::string rightTimeLabel(const DrawList& list)
{
    std::string last;
    for (const DrawOp& op : list.ops)
        if (op.kind == DrawKind::Text)
            last = op.text;
    return last;
}

std::string bottomDepthLabel(const DrawList& list)
{
    int seen = 0;
    for (const DrawOp& op : list.ops)
        if (op.kind == DrawKind::Text && ++seen == 3)
            return op.text;
    return {};
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
    EXPECT_EQ(g.layoutFor(800, 500).plotLeft, 20);
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
    for (int s : {0, 59, 180, 181, 10799})
        EXPECT_EQ(g.series[s], 0.0) << s;
    for (int s : {60, 119})
        EXPECT_EQ(g.series[s], -10.0) << s;
    for (int s : {120, 179})
        EXPECT_EQ(g.series[s], -20.0) << s;
    DrawList list = g.Draw(800, 500);
    EXPECT_EQ(bottomDepthLabel(list), "20");
    EXPECT_EQ(rightTimeLabel(list), "10");
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
    for (const DrawOp& op : list.ops)
        EXPECT_FALSE(op.kind == DrawKind::Polyline && op.colour == g.lineColour);
    EXPECT_EQ(rightTimeLabel(list), "17");
}

TEST(DiveGraph, AxisLengths)
{
    struct Row {
        uint16_t lastTime;
        int wraps;
        uint32_t axis;
        const char* label;
    };
    // 20000 s is reached by wrapping once from 65000 to 20000 - 65536 + 65536... kept simple:
    // a last sample at 100, 4000 or (one wrap) 65536 + 100 seconds.
    const Row rows[] = {{100, 0, 600, "10"}, {4000, 0, 4000, "67"}, {20000, 0, 10800, "180"}};
    for (const Row& row : rows) {
        DiveGraph g;
        CDiveLog log = logOf({{0, 8, 10}, {row.lastTime, 8, 10}});
        g.SetData(&log);
        DrawList list = g.Draw(800, 500);
        EXPECT_EQ(g.maxTime, row.axis);
        EXPECT_EQ(rightTimeLabel(list), row.label);
    }
}

TEST(DiveGraph, LongDiveFillsOnlyTheFirstThreeHours)
{
    DiveGraph g;
    CDiveLog log = logOf({{0, 8, 10}, {20000, 8, 0}});
    g.SetData(&log);
    EXPECT_EQ(g.maxTime, 20000u);  // clamped when drawn
    EXPECT_EQ(g.series[10799], -5.0);
    g.Draw(800, 500);
    EXPECT_EQ(g.maxTime, 10800u);
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
}

TEST(DiveGraph, SetDataResetsFromTheLastLog)
{
    DiveGraph g;
    CDiveLog log = logOf({{0, 8, 40}, {700, 8, 0}, {701, 39, 80}});
    g.SetData(&log);
    g.SetData(nullptr);
    EXPECT_FALSE(g.hasData);
    EXPECT_FALSE(g.hasTemp);
    EXPECT_EQ(g.maxTime, 600u);
    EXPECT_EQ(g.dataMin, -10.0);
    EXPECT_EQ(g.series[10], 0.0);
}

TEST(DiveGraph, LayoutForFixedLabels)
{
    DiveGraph g;
    DiveGraph::Layout l = g.layoutFor(800, 500);
    EXPECT_EQ(l.labelChars, 3);
    EXPECT_EQ(l.right, 795);
    EXPECT_EQ(l.bottom, 475);
    EXPECT_EQ(l.midY, 238);
    EXPECT_EQ(l.qy, 118);
    EXPECT_EQ(l.midX, 407);
    EXPECT_EQ(l.qx, 193);
    g.yTopLabel.clear();
    EXPECT_EQ(g.layoutFor(800, 500).plotLeft, 2 + 6 * 6);  // log10(100) = 2, + 4
    g.decimals = 1;
    g.fixedMin = -0.5;
    EXPECT_EQ(g.layoutFor(800, 500).plotLeft, 2 + 6 * 7);
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
    const DrawOp& frame = list.ops[1];
    EXPECT_EQ(frame.colour, (Rgb{122, 122, 255}));
    EXPECT_EQ(frame.points, (std::vector<DrawPoint>{{20, 2}, {795, 2}, {795, 475}, {20, 475}, {20, 2}}));
    // Grid: (795 - 20) / 4 rounded up columns of 3 pixels, then (475 - 2) / 4 rounded up rows of 3.
    const DrawOp& firstPixel = list.ops[2];
    EXPECT_EQ(firstPixel.kind, DrawKind::Pixel);
    EXPECT_EQ(firstPixel.points[0], (DrawPoint{20, 120}));
    int pixels = 0;
    for (const DrawOp& op : list.ops)
        pixels += op.kind == DrawKind::Pixel;
    EXPECT_EQ(pixels, 194 * 3 + 119 * 3);

    const DrawOp* top = findText(list, "0");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->points[0], (DrawPoint{16, 2}));
    EXPECT_EQ(top->alignH, AlignH::Right);
    EXPECT_EQ(top->alignV, AlignV::Top);
    const DrawOp* title = findText(list, "Depth (m)");
    ASSERT_NE(title, nullptr);
    EXPECT_TRUE(title->upward);
    EXPECT_EQ(title->points[0], (DrawPoint{11, 238}));
    EXPECT_EQ(title->alignH, AlignH::Centre);
    EXPECT_EQ(title->alignV, AlignV::Baseline);
    const DrawOp* xTitle = findText(list, "Time (min)");
    ASSERT_NE(xTitle, nullptr);
    EXPECT_EQ(xTitle->points[0], (DrawPoint{407, 479}));
    EXPECT_EQ(xTitle->colour, (Rgb{180, 180, 180}));

    const DrawOp& profile = list.ops.back();
    ASSERT_EQ(profile.kind, DrawKind::Polyline);
    EXPECT_EQ(profile.colour, (Rgb{255, 255, 255}));
    ASSERT_EQ(profile.points.size(), 1201u);
    // yScale = (473 - 4) / 20: surface at 4, 10 m at 238, 20 m at 473.
    EXPECT_EQ(profile.points[0], (DrawPoint{21, 4}));
    EXPECT_EQ(profile.points[1], (DrawPoint{22, 4}));
    EXPECT_EQ(profile.points[121], (DrawPoint{99, 4}));
    EXPECT_EQ(profile.points[122], (DrawPoint{99, 238}));
    EXPECT_EQ(profile.points[242], (DrawPoint{176, 473}));
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
    const DrawOp& profile = list.ops.back();
    ASSERT_EQ(profile.points.size(), 601u);
    // 30 m is drawn at the bottom of the range (-10), not below the frame.
    EXPECT_EQ(profile.points[0].y, 473);
    EXPECT_EQ(profile.points[600].y, 473);
}

TEST(DiveGraph, TinyWindowsDoNotBreak)
{
    DiveGraph g;
    CDiveLog log = logOf({{0, 8, 60}, {600, 8, 0}});
    g.SetData(&log);
    for (auto [w, h] : {std::pair{0, 0}, {1, 1}, {10, 30}, {30, 10}}) {
        DrawList list = g.Draw(w, h);
        EXPECT_EQ(list.width, w);
        EXPECT_FALSE(list.ops.empty());
    }
}

TEST(DiveSvg, RendersEveryOperation)
{
    DiveGraph g;
    CDiveLog log = logOf({{0, 8, 0}, {60, 8, 20}, {120, 8, 40}, {180, 8, 0}});
    g.SetData(&log);
    g.xTitle = "a<b & \"c\"";
    std::string svg = RenderSvg(g.Draw(640, 480));
    EXPECT_EQ(svg.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
                        "width=\"640\" height=\"480\"",
                        0),
              0u);
    EXPECT_NE(svg.find("<rect x=\"0\" y=\"0\" width=\"640\" height=\"480\" fill=\"#1e1e5e\"/>"), std::string::npos);
    EXPECT_NE(svg.find("<polyline fill=\"none\" stroke-linecap=\"square\" points=\"20.5,2.5 635.5,2.5"),
              std::string::npos);
    EXPECT_NE(svg.find("stroke=\"#ffffff\" stroke-width=\"1\""), std::string::npos);
    EXPECT_NE(svg.find("transform=\"rotate(-90 11 228)\">Depth (m)</text>"), std::string::npos);
    EXPECT_NE(svg.find(">a&lt;b &amp; &quot;c&quot;</text>"), std::string::npos);
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
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
