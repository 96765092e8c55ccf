#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "divedata/dive_figures.h"
#include "divedata/dive_log.h"
#include "divedata/draw_list.h"
#include "divedata/time_window.h"

namespace ravo {

// One run of the depth profile: from second `start` up to the next run's
// start (or the series' end) the graph value is `value`.
struct DepthStep {
    uint64_t start = 0;
    double value = 0.0;
};

// The depth profile as the graph draws it: a graph value (the negated depth
// in metres) for every second of the dive. A depth sample's value holds from
// its own second up to the next depth sample; the seconds before the first
// depth sample and from the last one on are 0.0 (the surface). Kept as runs
// of equal value, so a dive of any length takes room by its samples.
class DepthSeries {
public:
    // The value of second `s`.
    double operator[](uint64_t s) const;
    const std::vector<DepthStep>& steps() const { return steps_; }
    // The first second from which every value is 0.0: the last depth
    // sample's time.
    uint64_t end() const { return end_; }
    // The last depth sample's graph value, which holds for no time: where
    // the line ends when the dive ends with that sample.
    double last() const { return last_; }
    void clear();
    // Gives the seconds from end() up to `to` the value `value`.
    void extend(uint64_t to, double value);
    void setLast(double value) { last_ = value; }

private:
    std::vector<DepthStep> steps_;
    uint64_t end_ = 0;
    double last_ = 0.0;
};

// A sample of an optional curve: seconds since the start, and the value in
// the curve's unit (degrees, bar).
struct CurvePoint {
    uint64_t time = 0;
    double value = 0.0;
};

// The optional curves drawn besides the depth profile.
struct GraphCurves {
    bool temperature = false;
    bool o2 = false;
    bool dil = false;

    bool any() const { return temperature || o2 || dil; }
    bool operator==(const GraphCurves&) const = default;
};

// The values at one time of the dive, as the hover readout shows them. A
// value is there only where the log has one: depth wherever there is a
// profile, the others between their first and last samples (straight
// between samples, as their curves are drawn).
struct HoverReadout {
    uint64_t time = 0;  // whole seconds
    bool hasDepth = false;
    double depth = 0.0;  // metres
    bool hasTemp = false;
    double temperature = 0.0;
    bool hasO2 = false;
    double o2 = 0.0;  // bar
    bool hasDil = false;
    double dil = 0.0;

    // "Time 12:34", "Depth 23.5 m", "Temperature 18.3 °C", "O2 180 bar",
    // "Diluent 150 bar": the lines of the readout box.
    std::vector<std::string> lines() const;
    // The lines in one text for a screen reader: "Time 12:34, Depth 23.5 m".
    std::string text() const;
};

// The dive profile graph without a window: the depth series, the optional
// curves and the dive figures computed from a log, the layout for a client
// size, and the drawing operations that paint it for any span of the dive.
// A window paints the lists it returns; a printer may too, at any size.
class DiveGraph {
public:
    static constexpr uint64_t kShortestAxis = 600;

    // Labels.
    std::string xTitle = "Time (min)";
    std::string xMaxLabel;
    std::string xMinLabel = "0";
    std::string yTitle = "Depth (m)";
    std::string yTopLabel = "0";
    std::string yBottomLabel;
    std::string tempTitle = "Temp (\xC2\xB0" "C)";

    // Properties.
    bool autoScale = true;
    bool stepLines = true;
    int penWidth = 1;
    double fixedMin = 0.0;
    double fixedMax = 100.0;
    int decimals = 0;
    Rgb backColour{30, 30, 94};
    Rgb textColour{180, 180, 180};
    Rgb frameColour{122, 122, 255};
    Rgb lineColour{255, 255, 255};
    Rgb temperatureColour{255, 160, 64};
    Rgb o2Colour{96, 224, 96};
    Rgb dilColour{96, 200, 255};
    Rgb markerColour{255, 255, 0};
    GraphCurves curves;  // drawn when the log has their samples

    // Data and figures.
    DepthSeries series;
    std::vector<CurvePoint> temperatureCurve;  // degrees
    std::vector<CurvePoint> o2Curve;           // bar
    std::vector<CurvePoint> dilCurve;          // bar
    bool hasData = false;
    double dataMax = 0.0;
    double dataMin = 0.0;
    uint64_t maxTime = kShortestAxis;  // seconds: the latest sample, at least 600
    bool hasDepth = false;
    double maxDepth = 0.0;
    bool hasTemp = false;
    double tempMin = 0.0, tempMax = 0.0;
    bool hasDil = false;
    double dilStart = 0.0, dilStop = 0.0;
    bool hasO2 = false;
    double o2Start = 0.0, o2Stop = 0.0;
    DiveFigures figures;  // the same figures as one record

    // Loads a log (null or empty gives an empty graph) and recomputes the
    // series, the curves and the figures.
    void SetData(const CDiveLog* log);

    // The whole dive: 0 .. maxTime.
    TimeSpan wholeSpan() const { return {0, maxTime}; }

    struct Layout {
        int left0, top, right, bottom;
        int labelChars, plotLeft, plotHeight;
        int midY, midX;
        int rightChars;  // label column of the temperature axis; 0 when not shown
    };
    Layout layoutFor(int width, int height) const;

    // The painting of the whole dive, or of `span`, at width x height pixels.
    DrawList Draw(int width, int height) const;
    DrawList Draw(int width, int height, TimeSpan span) const;

    // What goes over the painting while the cursor is at time `seconds`:
    // markers on the curves and the readout box (no background).
    DrawList DrawHover(int width, int height, TimeSpan span, double seconds) const;
    // A time range being dragged out between pixel columns x1 and x2.
    DrawList DrawRangeSelection(int width, int height, int x1, int x2) const;

    HoverReadout ReadoutAt(double seconds) const;

    // Between pixel columns and times of `span` in a layout: the column a
    // time is drawn at, and the time under a column (kept within the span).
    int xPixel(const Layout& l, TimeSpan span, double seconds) const;
    double timeAt(const Layout& l, TimeSpan span, int x) const;
    // Whether (x, y) is inside the plot frame.
    static bool inPlot(const Layout& l, int x, int y);

    // The vertical pixel of value v for a plot of `plotHeight`.
    int yPixel(double v, double yMax, double yMin, int plotHeight) const;
};

}  // namespace ravo
