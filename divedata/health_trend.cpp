#include "divedata/health_trend.h"

#include <algorithm>
#include <cmath>

#include "divedata/detail/text_format_p.h"

namespace ravo {
namespace {

constexpr int kLabelColumn = 40;
constexpr int kTitleRow = 18;
constexpr int kBottomRow = 20;

HealthTrendLayout::Panel panel(int top, int bottom, double low, double high)
{
    return HealthTrendLayout::Panel{top, bottom, low, high};
}

double maxOf(const HealthReport& report, int HealthDive::*member, double floor)
{
    double top = floor;
    for (const HealthDive& d : report.dives)
        if (d.known)
            top = std::max(top, double(d.*member));
    return top;
}

// The cells' panel spans the plausible band and every output, 10 mV beyond.
std::pair<double, double> cellRange(const HealthReport& report)
{
    double low = report.thresholds.plausibleLowMv, high = report.thresholds.plausibleHighMv;
    for (const HealthDive& d : report.dives)
        if (d.known)
            for (int mv : d.cellMv) {
                low = std::min(low, double(mv));
                high = std::max(high, double(mv));
            }
    return {std::max(0.0, low - 10), high + 10};
}

// A small square around a point: a dive's mark on its line, or a flag.
DrawOp squareAround(DrawPoint at, int half, Rgb colour, int width)
{
    return PolylineOp({{at.x - half, at.y - half},
                       {at.x + half, at.y - half},
                       {at.x + half, at.y + half},
                       {at.x - half, at.y + half},
                       {at.x - half, at.y - half}},
                      colour, width);
}

// One polyline per run of known dives (a run of one dive is a short tick),
// each dive marked by a small square.
template <typename Value>
void addSeries(DrawList& list, const HealthReport& report, const HealthTrendLayout& l,
               const HealthTrendLayout::Panel& p, Value value, Rgb colour)
{
    const size_t n = report.dives.size();
    std::vector<DrawPoint> run;
    std::vector<DrawOp> marks;
    auto flush = [&] {
        const std::vector<DrawPoint> points = run;
        if (run.size() == 1)
            run = {{run[0].x - 2, run[0].y}, {run[0].x + 3, run[0].y}};
        if (!run.empty())
            list.ops.push_back(PolylineOp(run, colour, 2));
        for (const DrawPoint& point : points)
            marks.push_back(squareAround(point, 2, colour, 1));
        run.clear();
    };
    for (size_t i = 0; i < n; ++i) {
        if (!report.dives[i].known) {
            flush();
            continue;
        }
        run.push_back({l.xOf(i, n), HealthTrendLayout::yOf(p, value(report.dives[i]))});
    }
    flush();
    list.ops.insert(list.ops.end(), marks.begin(), marks.end());
}

void addPanel(DrawList& list, const HealthTrendLayout& l, const HealthTrendLayout::Panel& p, const std::string& title,
              const HealthTrendColours& c)
{
    list.ops.push_back(PolylineOp({{l.plotLeft, p.top}, {l.plotRight, p.top}, {l.plotRight, p.bottom},
                                   {l.plotLeft, p.bottom}, {l.plotLeft, p.top}},
                                  c.frame));
    list.ops.push_back(TextOp(title, l.plotLeft, p.top - 3, AlignH::Left, AlignV::Baseline, c.text, c.back));
    list.ops.push_back(
        TextOp(detail::textC("%.0f", p.high), l.plotLeft - 4, p.top, AlignH::Right, AlignV::Top, c.text, c.back));
    list.ops.push_back(
        TextOp(detail::textC("%.0f", p.low), l.plotLeft - 4, p.bottom, AlignH::Right, AlignV::Baseline, c.text, c.back));
}

void addDottedLevel(DrawList& list, const HealthTrendLayout& l, const HealthTrendLayout::Panel& p, double value, Rgb colour)
{
    const int y = HealthTrendLayout::yOf(p, value);
    for (int x = l.plotLeft + 2; x < l.plotRight; x += 4)
        list.ops.push_back(PixelOp(x, y, colour));
}

}  // namespace

int HealthTrendLayout::xOf(size_t i, size_t n) const
{
    const int inner = plotRight - plotLeft - 12;
    if (n <= 1)
        return plotLeft + 6 + inner / 2;
    return plotLeft + 6 + int(std::lround(double(i) * inner / double(n - 1)));
}

int HealthTrendLayout::yOf(const Panel& p, double value)
{
    const double span = p.high - p.low;
    const double share = span > 0 ? (std::clamp(value, p.low, p.high) - p.low) / span : 0.0;
    return p.bottom - 3 - int(std::lround(share * (p.bottom - p.top - 6)));
}

HealthTrendLayout HealthTrendLayoutFor(const HealthReport& report, int width, int height)
{
    HealthTrendLayout l;
    l.plotLeft = kLabelColumn;
    l.plotRight = std::max(l.plotLeft + 20, width - 8);
    // Cells take half the height, battery and days a quarter each.
    const int usable = std::max(60, height - 3 * kTitleRow - kBottomRow);
    const int cellsHeight = usable / 2, otherHeight = usable / 4;
    int top = kTitleRow;
    const auto [cellLow, cellHigh] = cellRange(report);
    l.cells = panel(top, top + cellsHeight, cellLow, cellHigh);
    top = l.cells.bottom + kTitleRow;
    l.battery = panel(top, top + otherHeight, 0, 100);
    top = l.battery.bottom + kTitleRow;
    l.days = panel(top, top + otherHeight, 0, std::ceil(maxOf(report, &HealthDive::daysSinceLearn, 10)));
    return l;
}

DrawList DrawHealthTrend(const HealthReport& report, int width, int height, const HealthTrendColours& c)
{
    DrawList list;
    list.width = width;
    list.height = height;
    list.ops.push_back(FillOp(c.back));
    const HealthTrendLayout l = HealthTrendLayoutFor(report, width, height);

    addPanel(list, l, l.cells, "Cell start output (mV): cell 1 white, cell 2 orange", c);
    addDottedLevel(list, l, l.cells, report.thresholds.plausibleLowMv, c.band);
    addDottedLevel(list, l, l.cells, report.thresholds.plausibleHighMv, c.band);
    addPanel(list, l, l.battery, "Battery state of charge (%)", c);
    addPanel(list, l, l.days, "Days since learn cycle", c);

    for (int cell = 0; cell < 2; ++cell)
        addSeries(list, report, l, l.cells, [cell](const HealthDive& d) { return double(d.cellMv[cell]); },
                  c.cell[cell]);
    addSeries(list, report, l, l.battery, [](const HealthDive& d) { return double(d.batterySoC); }, c.battery);
    addSeries(list, report, l, l.days, [](const HealthDive& d) { return double(d.daysSinceLearn); }, c.days);

    const size_t n = report.dives.size();
    for (const HealthFlag& f : report.flags) {
        const HealthDive& d = report.dives[f.dive];
        const int x = l.xOf(f.dive, n);
        for (int cell : f.cell == 0 ? std::vector<int>{1, 2} : std::vector<int>{f.cell}) {
            list.ops.push_back(squareAround({x, HealthTrendLayout::yOf(l.cells, d.cellMv[cell - 1])}, 5, c.flag, 2));
        }
    }

    const int labelY = l.days.bottom + 4;
    if (n == 0) {
        list.ops.push_back(TextOp("No saved dives", (l.plotLeft + l.plotRight) / 2, labelY, AlignH::Centre,
                                  AlignV::Top, c.text, c.back));
        return list;
    }
    list.ops.push_back(
        TextOp(report.dives.front().stamp.substr(0, 10), l.plotLeft, labelY, AlignH::Left, AlignV::Top, c.text, c.back));
    list.ops.push_back(TextOp(detail::textC("%u dive%s in date order", unsigned(n), n == 1 ? "" : "s"),
                              (l.plotLeft + l.plotRight) / 2, labelY, AlignH::Centre, AlignV::Top, c.text, c.back));
    if (n > 1)
        list.ops.push_back(TextOp(report.dives.back().stamp.substr(0, 10), l.plotRight, labelY, AlignH::Right,
                                  AlignV::Top, c.text, c.back));
    return list;
}

}  // namespace ravo
