#pragma once
#include <string>
#include <vector>

#include "divedata/dive_graph.h"

namespace ravo::detail {

// Pixel sizes of the graph's text, for keeping labels apart: the font's cell
// height and a wide character of it.
inline constexpr int kFontHeight = 14;
inline constexpr int kCharWidth = 7;
// The column of an upward title beside an axis, and the row of time tick
// labels between the plot and the time axis' title.
inline constexpr int kTitleColumn = 16;
inline constexpr int kTickRow = 16;

struct AxisLabel {
    double value = 0.0;
    std::string text;
};

// Everything of a graph's axes for one client size: the layout, the depth
// range and its ticks, the temperature axis and the pressure scale of the
// curves shown.
struct GraphAxes {
    DiveGraph::Layout l{};
    double yMax = 0.0, yMin = 0.0;  // depth axis, graph values
    std::string topLabel, bottomLabel;
    std::vector<AxisLabel> depthTicks;
    bool tempAxis = false;
    double tempLo = 0.0, tempHi = 0.0;
    std::vector<AxisLabel> tempTicks;
    bool pressureShown = false;
    double pressureTop = 0.0;  // bar at the top of the plot; 0 bar at the bottom
};

GraphAxes axesFor(const DiveGraph& graph, int width, int height);

// The pixel row of `value` on a scale running from `lo` at the bottom of the
// plot to `hi` at its top (2 pixels inside the frame, as the depth axis).
int scaleRow(const DiveGraph::Layout& l, double value, double lo, double hi);

// "%.*f" with halves rounded away from zero (34.5 with 0 decimals is 35),
// never "-0".
std::string formatRoundedAway(double value, int decimals);

}  // namespace ravo::detail
