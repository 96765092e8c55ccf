#include <algorithm>
#include <cmath>

#include "divedata/detail/graph_axes_p.h"
#include "divedata/detail/text_format_p.h"
#include "divedata/graph_ticks.h"
#include "link/utf8_text.h"

namespace ravo::detail {
namespace {

// Depth ticks at least this far apart, and temperature ticks.
constexpr int kRowSpacing = 30;

int boundDigits(double bound)
{
    if (bound == 0.0)
        return 0;
    return std::abs(int(std::trunc(std::log10(std::fabs(bound)))));
}

// The label column in characters as the fixed labels ask for it.
int fixedLabelChars(const DiveGraph& g)
{
    if (!g.yTopLabel.empty() || !g.yBottomLabel.empty())
        return int(std::max(g.yTopLabel.size(), g.yBottomLabel.size())) + 2;
    return std::max(boundDigits(g.fixedMax), boundDigits(g.fixedMin)) + g.decimals + 4;
}

void depthAxis(const DiveGraph& g, GraphAxes& a, int plotHeight)
{
    a.yMax = g.autoScale ? g.dataMax : g.fixedMax;
    a.yMin = g.autoScale ? g.dataMin : g.fixedMin;
    a.topLabel = !g.yTopLabel.empty() ? g.yTopLabel : textC("%.*f", g.decimals, g.fixedMax);
    a.bottomLabel = !g.yBottomLabel.empty() ? g.yBottomLabel : formatRoundedAway(-g.dataMin, g.decimals);
    const double lo = std::min(a.yMin, a.yMax);
    const double hi = std::max(a.yMin, a.yMax);
    const double minStep = g.decimals > 0 ? std::pow(10.0, -std::min(g.decimals, 6)) : 1.0;
    const double step = RoundStep(hi - lo, plotHeight - 4, kRowSpacing, minStep);
    for (double v : TickValues(lo, hi, step))
        a.depthTicks.push_back({v, formatRoundedAway(-v, g.decimals)});
}

void temperatureAxis(const DiveGraph& g, GraphAxes& a, int plotHeight)
{
    a.tempAxis = g.curves.temperature && !g.temperatureCurve.empty();
    if (!a.tempAxis)
        return;
    const double range = std::max(g.tempMax - g.tempMin, 1.0);
    const double step = RoundStep(range, plotHeight - 4, kRowSpacing, 0.5);
    a.tempLo = std::floor(g.tempMin / step) * step;
    a.tempHi = std::ceil(g.tempMax / step) * step;
    if (a.tempHi - a.tempLo < step)
        a.tempHi = a.tempLo + step;
    for (double v : TickValues(a.tempLo, a.tempHi, step))
        a.tempTicks.push_back({v, step < 1.0 ? textC("%.1f", v) : textC("%.0f", v)});
}

void pressureScale(const DiveGraph& g, GraphAxes& a)
{
    double highest = 0.0;
    auto take = [&](bool shown, const std::vector<CurvePoint>& curve) {
        if (!shown || curve.empty())
            return;
        a.pressureShown = true;
        for (const CurvePoint& p : curve)
            highest = std::max(highest, p.value);
    };
    take(g.curves.o2, g.o2Curve);
    take(g.curves.dil, g.dilCurve);
    a.pressureTop = std::max(50.0, std::ceil(highest / 50.0) * 50.0);
}

size_t widest(const std::vector<AxisLabel>& labels)
{
    size_t chars = 0;
    for (const AxisLabel& label : labels)
        chars = std::max(chars, size_t(Utf8CharCount(label.text)));
    return chars;
}

}  // namespace

std::string formatRoundedAway(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0.0)
        rounded = 0.0;
    return textC("%.*f", decimals, rounded);
}

int scaleRow(const DiveGraph::Layout& l, double value, double lo, double hi)
{
    const double range = hi - lo;
    const double scale = range != 0.0 ? (l.plotHeight - 4) / range : 0.0;
    return int(std::trunc(l.top + 2 + (hi - value) * scale));
}

GraphAxes axesFor(const DiveGraph& g, int width, int height)
{
    GraphAxes a;
    DiveGraph::Layout& l = a.l;
    l.left0 = 2;
    l.top = 2;
    l.bottom = height - 25 - kTickRow;
    l.plotHeight = l.bottom - l.top;
    depthAxis(g, a, l.plotHeight);
    temperatureAxis(g, a, l.plotHeight);
    pressureScale(g, a);

    const size_t depthChars = std::max({widest(a.depthTicks), a.topLabel.size(), a.bottomLabel.size()});
    l.labelChars = std::max(fixedLabelChars(g), int(depthChars) + 2);
    l.plotLeft = l.left0 + kTitleColumn + 6 * l.labelChars;
    l.rightChars = a.tempAxis ? int(widest(a.tempTicks)) + 2 : 0;
    l.right = width - 5 - (a.tempAxis ? kTitleColumn + 6 * l.rightChars : 0);
    l.midY = (l.top + l.bottom) / 2;
    l.midX = (l.plotLeft + l.right) / 2;
    return a;
}

}  // namespace ravo::detail
