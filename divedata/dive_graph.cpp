#include "divedata/dive_graph.h"

#include <algorithm>
#include <cmath>

#include "divedata/detail/graph_axes_p.h"
#include "divedata/detail/text_format_p.h"
#include "divedata/graph_ticks.h"
#include "divedata/time_texts.h"
#include "divedata/sample_clock.h"

namespace ravo {

double DepthSeries::operator[](uint64_t s) const
{
    if (s >= end_ || steps_.empty())
        return 0.0;
    auto after = std::upper_bound(steps_.begin(), steps_.end(), s,
                                  [](uint64_t second, const DepthStep& step) { return second < step.start; });
    return after == steps_.begin() ? 0.0 : std::prev(after)->value;
}

void DepthSeries::clear()
{
    steps_.clear();
    end_ = 0;
    last_ = 0.0;
}

void DepthSeries::extend(uint64_t to, double value)
{
    if (to <= end_)
        return;
    if (steps_.empty() || steps_.back().value != value)
        steps_.push_back({end_, value});
    end_ = to;
}

namespace {

// The value of a curve drawn straight between its points at time t; false
// before its first point and after its last.
bool curveValueAt(const std::vector<CurvePoint>& curve, double t, double& value)
{
    if (curve.empty() || t < double(curve.front().time) || t > double(curve.back().time))
        return false;
    auto after = std::upper_bound(curve.begin(), curve.end(), t,
                                  [](double time, const CurvePoint& p) { return time < double(p.time); });
    if (after == curve.end()) {
        value = curve.back().value;
        return true;
    }
    const CurvePoint& b = *after;
    const CurvePoint& a = *std::prev(after);
    const double span = double(b.time) - double(a.time);
    value = span > 0.0 ? a.value + (b.value - a.value) * (t - double(a.time)) / span : a.value;
    return true;
}

}  // namespace

std::vector<std::string> HoverReadout::lines() const
{
    std::vector<std::string> out{"Time " + MinutesSecondsText(time)};
    if (hasDepth)
        out.push_back(detail::textC("Depth %.1f m", depth));
    if (hasTemp)
        out.push_back(detail::textC("Temperature %.1f \xC2\xB0" "C", temperature));
    if (hasO2)
        out.push_back(detail::textC("O2 %.0f bar", o2));
    if (hasDil)
        out.push_back(detail::textC("Diluent %.0f bar", dil));
    return out;
}

std::string HoverReadout::text() const
{
    std::string out;
    for (const std::string& line : lines())
        out += (out.empty() ? "" : ", ") + line;
    return out;
}

void DiveGraph::SetData(const CDiveLog* log)
{
    series.clear();
    temperatureCurve.clear();
    o2Curve.clear();
    dilCurve.clear();
    hasData = false;
    dataMax = 0.0;
    dataMin = -10.0;
    maxTime = kShortestAxis;
    figures = DiveFigures{};
    if (log && !log->samples.empty())
        figures = ComputeDiveFigures(log->samples);
    hasDepth = figures.hasDepth;
    maxDepth = figures.maxDepth;
    hasTemp = figures.hasTemp;
    tempMin = figures.tempMin;
    tempMax = figures.tempMax;
    hasDil = figures.hasDil;
    dilStart = figures.dilStart;
    dilStop = figures.dilStop;
    hasO2 = figures.hasO2;
    o2Start = figures.o2Start;
    o2Stop = figures.o2Stop;
    if (!log || log->samples.empty())
        return;
    maxTime = std::max(kShortestAxis, figures.lastTime);

    SampleClock clock;
    double last = 0.0;
    for (const CDiveDataRecord& sample : log->samples) {
        const uint64_t absolute = clock.next(sample.time);
        switch (sample.kind) {
        case KindDepth:
            hasData = true;
            // The previous depth holds up to this sample; the last one holds
            // for no time at all.
            if (absolute > series.end()) {
                series.extend(absolute, last);
                dataMin = std::min(dataMin, last);
            }
            last = -depthMetres(sample.value);
            break;
        case KindTemperature: temperatureCurve.push_back({absolute, temperatureDegrees(sample.value)}); break;
        case KindHpDil: dilCurve.push_back({absolute, double(sample.value)}); break;
        case KindHpO2: o2Curve.push_back({absolute, double(sample.value)}); break;
        default: break;
        }
    }
    series.setLast(last);
}

HoverReadout DiveGraph::ReadoutAt(double seconds) const
{
    HoverReadout r;
    if (!std::isfinite(seconds))
        seconds = 0.0;
    const double t = std::floor(std::clamp(seconds, 0.0, double(maxTime)));
    r.time = uint64_t(t);
    if (hasData) {
        r.hasDepth = true;
        r.depth = -series[r.time];
        if (r.depth == 0.0)
            r.depth = 0.0;
    }
    r.hasTemp = curveValueAt(temperatureCurve, t, r.temperature);
    r.hasO2 = curveValueAt(o2Curve, t, r.o2);
    r.hasDil = curveValueAt(dilCurve, t, r.dil);
    return r;
}

DiveGraph::Layout DiveGraph::layoutFor(int width, int height) const
{
    return detail::axesFor(*this, width, height).l;
}

int DiveGraph::xPixel(const Layout& l, TimeSpan span, double seconds) const
{
    const double length = double(std::max<uint64_t>(span.length(), 1));
    const double xStep = double(l.right - l.plotLeft - 2) / length;
    return int(std::trunc(l.plotLeft + 1 + (seconds - double(span.start)) * xStep));
}

double DiveGraph::timeAt(const Layout& l, TimeSpan span, int x) const
{
    const double width = double(l.right - l.plotLeft - 2);
    if (width <= 0.0)
        return double(span.start);
    const double t = double(span.start) + (x - l.plotLeft - 1) * double(span.length()) / width;
    return std::clamp(t, double(span.start), double(span.end));
}

bool DiveGraph::inPlot(const Layout& l, int x, int y)
{
    return x >= l.plotLeft && x <= l.right && y >= l.top && y <= l.bottom;
}

int DiveGraph::yPixel(double v, double yMax, double yMin, int plotHeight) const
{
    double range = yMax - yMin;
    double yScale = range != 0.0 ? (plotHeight - 4) / range : 0.0;
    if (!autoScale)
        v = std::clamp(v, std::min(yMin, yMax), std::max(yMin, yMax));
    return int(std::trunc(4 + (yMax - v) * yScale));
}

}  // namespace ravo
