#pragma once
#include "divedata/draw_list.h"
#include "divedata/unit_health.h"

namespace ravo {

// Colours of the health trend, so a test can find each line.
struct HealthTrendColours {
    Rgb back{30, 30, 94};
    Rgb text{180, 180, 180};
    Rgb frame{122, 122, 255};
    Rgb cell[2] = {{255, 255, 255}, {255, 170, 0}};
    Rgb band{200, 80, 80};  // the plausible band's limits, dotted
    Rgb battery{120, 220, 120};
    Rgb days{120, 200, 255};
    Rgb flag{255, 60, 60};  // a square around a flagged cell's point
};

// Where the trend's panels stand for a canvas of width x height.
struct HealthTrendLayout {
    int plotLeft = 0, plotRight = 0;
    struct Panel {
        int top = 0, bottom = 0;
        double low = 0, high = 0;  // the values at the bottom and the top
    };
    Panel cells, battery, days;
    // The x of dive i of n.
    int xOf(size_t i, size_t n) const;
    // The y of `value` in `panel`.
    static int yOf(const Panel& panel, double value);
};
HealthTrendLayout HealthTrendLayoutFor(const HealthReport& report, int width, int height);

// The unit's health across its dives, in date order from left to right:
// the two cells' start mV with the plausible band's limits, the battery's
// state of charge, the days since the learn cycle, a square around every
// flagged cell's point; the dates of the first and last dive below. Dives
// whose header is not known leave gaps.
DrawList DrawHealthTrend(const HealthReport& report, int width, int height, const HealthTrendColours& colours = {});

}  // namespace ravo
