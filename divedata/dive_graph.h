#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "divedata/dive_log.h"
#include "divedata/draw_list.h"

namespace ravo {

// The dive profile graph without a window: the per-second depth series and
// the dive figures computed from a log, the layout for a client size, and the
// drawing operations that paint it. A window paints the list it returns.
class DiveGraph {
public:
    static constexpr int kSeriesLength = 10800;  // three hours, the longest axis
    static constexpr uint32_t kShortestAxis = 600;

    // Labels.
    std::string xTitle = "Time (min)";
    std::string xMaxLabel;
    std::string xMinLabel = "0";
    std::string yTitle = "Depth (m)";
    std::string yTopLabel = "0";
    std::string yBottomLabel;

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

    // Data and figures.
    std::array<double, kSeriesLength> series{};  // negated depth per second, metres
    bool hasData = false;
    double dataMax = 0.0;
    double dataMin = 0.0;
    uint32_t maxTime = kShortestAxis;  // seconds
    bool hasDepth = false;
    double maxDepth = 0.0;
    bool hasTemp = false;
    double tempMin = 0.0, tempMax = 0.0;
    bool hasDil = false;
    double dilStart = 0.0, dilStop = 0.0;
    bool hasO2 = false;
    double o2Start = 0.0, o2Stop = 0.0;

    // Loads a log (null or empty gives an empty graph) and recomputes the
    // series and the figures.
    void SetData(const CDiveLog* log);

    struct Layout {
        int left0, top, right, bottom;
        int labelChars, plotLeft, plotHeight;
        int midY, qy, midX, qx;
    };
    Layout layoutFor(int width, int height) const;

    // The painting for a client area of width x height pixels. Clamps
    // maxTime into 600..10800 as painting does.
    DrawList Draw(int width, int height);

    // The vertical pixel of value v for a plot of `plotHeight`.
    int yPixel(double v, double yMax, double yMin, int plotHeight) const;
};

}  // namespace ravo
