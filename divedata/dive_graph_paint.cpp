#include <algorithm>
#include <cmath>

#include "divedata/detail/graph_axes_p.h"
#include "divedata/detail/text_format_p.h"
#include "divedata/dive_graph.h"
#include "divedata/graph_ticks.h"
#include "divedata/time_texts.h"
#include "link/utf8_text.h"

namespace ravo {
namespace {

using detail::GraphAxes;
using detail::kCharWidth;
using detail::kFontHeight;
using detail::kTickRow;
using detail::kTitleColumn;

// Time ticks at least this far apart.
constexpr int kColumnSpacing = 60;
constexpr int kRowHeight = 16;

DrawOp textOp(const std::string& text, int x, int y, AlignH h, AlignV v, Rgb colour, Rgb background,
              bool upward = false)
{
    DrawOp op;
    op.kind = DrawKind::Text;
    op.points = {{x, y}};
    op.text = text;
    op.alignH = h;
    op.alignV = v;
    op.colour = colour;
    op.background = background;
    op.upward = upward;
    return op;
}

DrawOp rectOp(int x1, int y1, int x2, int y2, Rgb colour)
{
    DrawOp op;
    op.kind = DrawKind::Rect;
    op.colour = colour;
    op.points = {{x1, y1}, {x2, y2}};
    return op;
}

DrawOp boxOutline(int x1, int y1, int x2, int y2, Rgb colour)
{
    DrawOp op;
    op.kind = DrawKind::Polyline;
    op.colour = colour;
    op.points = {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}, {x1, y1}};
    return op;
}

int textWidth(const std::string& text)
{
    return Utf8CharCount(text) * kCharWidth;
}

// Builds a line's points column by column. Where many points fall into one
// pixel column (a long dive on a narrow graph) only what they cover is
// kept: where the line enters the column, its highest and lowest rows and
// where it leaves. Points on a straight horizontal or vertical run in one
// direction merge. The pixels drawn are those of the full line.
class ColumnPath {
public:
    explicit ColumnPath(std::vector<DrawPoint>& out) : out_(out) {}
    ~ColumnPath() { flush(); }

    void add(int x, int y)
    {
        if (open_ && x == x_) {
            lo_ = std::min(lo_, y);
            hi_ = std::max(hi_, y);
            last_ = y;
            return;
        }
        flush();
        open_ = true;
        x_ = x;
        entry_ = lo_ = hi_ = last_ = y;
    }

    void flush()
    {
        if (!open_)
            return;
        open_ = false;
        push(entry_);
        if (entry_ == lo_) {
            push(hi_);
        } else if (entry_ == hi_) {
            push(lo_);
        } else {
            push(lo_);
            push(hi_);
        }
        push(last_);
    }

private:
    static bool between(int a, int b, int c) { return (a <= b && b <= c) || (a >= b && b >= c); }

    void push(int y)
    {
        const DrawPoint p{x_, y};
        if (!out_.empty() && out_.back() == p)
            return;
        const size_t n = out_.size();
        if (n >= 2) {
            const DrawPoint& a = out_[n - 2];
            const DrawPoint& b = out_[n - 1];
            const bool horizontal = a.y == b.y && b.y == p.y && between(a.x, b.x, p.x);
            const bool vertical = a.x == b.x && b.x == p.x && between(a.y, b.y, p.y);
            if (horizontal || vertical) {
                out_.back() = p;
                return;
            }
        }
        out_.push_back(p);
    }

    std::vector<DrawPoint>& out_;
    bool open_ = false;
    int x_ = 0, entry_ = 0, lo_ = 0, hi_ = 0, last_ = 0;
};

// Draws one DiveGraph for one size and span.
class GraphPainter {
public:
    GraphPainter(const DiveGraph& g, int width, int height, TimeSpan span)
        : g_(g), a_(detail::axesFor(g, width, height)), l_(a_.l), span_(span)
    {
        list_.width = width;
        list_.height = height;
        plotUsable_ = l_.right - l_.plotLeft > 2 && l_.plotHeight > 4 && span_.length() > 0;
    }

    DrawList base()
    {
        DrawOp fill;
        fill.kind = DrawKind::Fill;
        fill.colour = g_.backColour;
        list_.ops.push_back(fill);
        list_.ops.push_back(boxOutline(l_.plotLeft, l_.top, l_.right, l_.bottom, g_.frameColour));
        grid();
        depthLabels();
        timeLabels();
        temperatureLabels();
        if (plotUsable_) {
            curves();
            if (g_.hasData)
                profile();
            legend();
        }
        return std::move(list_);
    }

    DrawList hover(double seconds)
    {
        if (!plotUsable_ || seconds < double(span_.start) || seconds > double(span_.end))
            return std::move(list_);
        const HoverReadout r = g_.ReadoutAt(seconds);
        const int x = g_.xPixel(l_, span_, double(r.time));
        dotted(x, l_.top + 1, 0, 2, l_.bottom, g_.markerColour);
        auto marker = [&](int y) { list_.ops.push_back(rectOp(x - 2, y - 2, x + 3, y + 3, g_.markerColour)); };
        if (r.hasTemp && a_.tempAxis)
            marker(detail::scaleRow(l_, r.temperature, a_.tempLo, a_.tempHi));
        if (r.hasO2 && g_.curves.o2)
            marker(detail::scaleRow(l_, r.o2, 0.0, a_.pressureTop));
        if (r.hasDil && g_.curves.dil)
            marker(detail::scaleRow(l_, r.dil, 0.0, a_.pressureTop));
        if (r.hasDepth)
            marker(depthRow(-r.depth));
        readoutBox(x, r.lines());
        return std::move(list_);
    }

    DrawList rangeSelection(int x1, int x2)
    {
        x1 = std::clamp(x1, l_.plotLeft + 1, l_.right - 1);
        x2 = std::clamp(x2, l_.plotLeft + 1, l_.right - 1);
        if (plotUsable_)
            list_.ops.push_back(
                boxOutline(std::min(x1, x2), l_.top + 1, std::max(x1, x2), l_.bottom - 1, g_.markerColour));
        return std::move(list_);
    }

private:
    bool wholeDive() const { return span_ == g_.wholeSpan(); }
    int depthRow(double v) const { return g_.yPixel(v, a_.yMax, a_.yMin, l_.plotHeight); }
    int column(double seconds) const { return g_.xPixel(l_, span_, seconds); }

    void label(const std::string& text, int x, int y, AlignH h, AlignV v, bool upward = false)
    {
        list_.ops.push_back(textOp(text, x, y, h, v, g_.textColour, g_.backColour, upward));
    }

    std::vector<uint64_t> timeTicks() const
    {
        std::vector<uint64_t> ticks;
        const uint64_t step = RoundTimeStep(span_.length(), l_.right - l_.plotLeft - 2, kColumnSpacing);
        for (uint64_t t = (span_.start + step - 1) / step * step; t <= span_.end; t += step)
            ticks.push_back(t);
        return ticks;
    }

    // A dotted line from (x, y) in steps of (dx, dy) up to, not including, `end`.
    void dotted(int x, int y, int dx, int dy, int end, Rgb colour)
    {
        DrawOp dots;
        dots.kind = DrawKind::Points;
        dots.colour = colour;
        for (; (dx ? x : y) < end; x += dx, y += dy)
            dots.points.push_back({x, y});
        list_.ops.push_back(std::move(dots));
    }

    // Dotted lines at the ticks, as the frame's grid is drawn: every fourth pixel.
    void grid()
    {
        if (!plotUsable_)
            return;
        for (const detail::AxisLabel& tick : a_.depthTicks) {
            const int y = depthRow(tick.value);
            if (y > l_.top + 2 && y < l_.bottom - 2)
                dotted(l_.plotLeft, y, 4, 0, l_.right, g_.frameColour);
        }
        for (uint64_t t : timeTicks()) {
            const int x = column(double(t));
            if (x > l_.plotLeft + 2 && x < l_.right - 2)
                dotted(x, l_.top, 0, 4, l_.bottom, g_.frameColour);
        }
    }

    void depthLabels()
    {
        label(a_.topLabel, l_.plotLeft - 4, l_.top, AlignH::Right, AlignV::Top);
        label(g_.yTitle, l_.left0 + kTitleColumn - 4, l_.midY, AlignH::Centre, AlignV::Baseline, true);
        label(a_.bottomLabel, l_.plotLeft - 4, l_.bottom, AlignH::Right, AlignV::Baseline);
        if (!plotUsable_)
            return;
        // Clear of the top label's cell and of the bottom label above the frame's bottom.
        const int highest = l_.top + kFontHeight + kFontHeight / 2 + 2;
        const int lowest = l_.bottom - kFontHeight - kFontHeight / 2;
        for (const detail::AxisLabel& tick : a_.depthTicks) {
            const int y = depthRow(tick.value);
            if (y >= highest && y <= lowest)
                label(tick.text, l_.plotLeft - 4, y, AlignH::Right, AlignV::Centre);
        }
    }

    void timeLabels()
    {
        std::string left, right;
        if (wholeDive()) {
            left = !g_.xMinLabel.empty() ? g_.xMinLabel : std::string("0");
            right = !g_.xMaxLabel.empty() ? g_.xMaxLabel
                                           : detail::textC("%llu", static_cast<unsigned long long>((g_.maxTime + 59) / 60));
        } else {
            left = MinutesLabel(double(span_.start));
            right = MinutesLabel(double(span_.end));
        }
        const int row = l_.bottom + 4;
        label(left, l_.plotLeft, row, AlignH::Left, AlignV::Top);
        label(g_.xTitle, l_.midX, row + kTickRow, AlignH::Centre, AlignV::Top);
        label(right, l_.right, row, AlignH::Right, AlignV::Top);
        if (!plotUsable_)
            return;
        // Tick labels clear of the end labels and of each other.
        int freeFrom = l_.plotLeft + textWidth(left) + 6;
        const int freeTo = l_.right - textWidth(right) - 6;
        for (uint64_t t : timeTicks()) {
            const std::string text = MinutesLabel(double(t));
            const int x = column(double(t));
            const int half = textWidth(text) / 2;
            if (x - half < freeFrom || x + half > freeTo)
                continue;
            label(text, x, row, AlignH::Centre, AlignV::Top);
            freeFrom = x + half + 6;
        }
    }

    void temperatureLabels()
    {
        if (!a_.tempAxis)
            return;
        const int width = list_.width;
        label(g_.tempTitle, width - 5 - kTitleColumn / 2 + 3, l_.midY, AlignH::Centre, AlignV::Baseline, true);
        if (!plotUsable_)
            return;
        for (const detail::AxisLabel& tick : a_.tempTicks) {
            const int y = detail::scaleRow(l_, tick.value, a_.tempLo, a_.tempHi);
            if (y >= l_.top + kFontHeight / 2 && y <= l_.bottom - kFontHeight / 2)
                label(tick.text, l_.right + 4, y, AlignH::Left, AlignV::Centre);
        }
    }

    // A curve drawn straight from sample to sample, cut at the span's ends.
    void curve(const std::vector<CurvePoint>& points, Rgb colour, double lo, double hi)
    {
        if (points.empty())
            return;
        DrawOp line;
        line.kind = DrawKind::Polyline;
        line.colour = colour;
        line.width = g_.penWidth;
        {
            ColumnPath path(line.points);
            auto add = [&](double t, double v) { path.add(column(t), detail::scaleRow(l_, v, lo, hi)); };
            auto first = std::lower_bound(points.begin(), points.end(), span_.start,
                                          [](const CurvePoint& p, uint64_t t) { return p.time < t; });
            auto valueAt = [](const CurvePoint& a, const CurvePoint& b, double t) {
                const double span = double(b.time) - double(a.time);
                return span > 0.0 ? a.value + (b.value - a.value) * (t - double(a.time)) / span : b.value;
            };
            if (first != points.begin() && first != points.end())
                add(double(span_.start), valueAt(*std::prev(first), *first, double(span_.start)));
            auto it = first;
            for (; it != points.end() && it->time <= span_.end; ++it)
                add(double(it->time), it->value);
            if (it != points.end() && it != points.begin())
                add(double(span_.end), valueAt(*std::prev(it), *it, double(span_.end)));
        }
        if (!line.points.empty())
            list_.ops.push_back(std::move(line));
    }

    // "200 bar" at a pressure curve's first and last samples in view.
    void pressureEnds(const std::vector<CurvePoint>& points, Rgb colour, bool below)
    {
        auto inSpan = [this](const CurvePoint& p) { return p.time >= span_.start && p.time <= span_.end; };
        auto first = std::find_if(points.begin(), points.end(), inSpan);
        auto last = std::find_if(points.rbegin(), points.rend(), inSpan);
        if (first == points.end())
            return;
        // Oxygen's above its line, diluent's below, so the two stay apart.
        auto put = [&](const CurvePoint& p, AlignH h, int dx) {
            const int row = detail::scaleRow(l_, p.value, 0.0, a_.pressureTop);
            const int y = below ? std::min(l_.bottom - kFontHeight - 1, row + 3) : std::max(l_.top + kFontHeight, row - 3);
            list_.ops.push_back(textOp(detail::textC("%.0f bar", p.value), column(double(p.time)) + dx, y, h,
                                       below ? AlignV::Top : AlignV::Baseline, colour, g_.backColour));
        };
        put(*first, AlignH::Left, 3);
        if (&*last != &*first)
            put(*last, AlignH::Right, -3);
    }

    void curves()
    {
        if (a_.tempAxis)
            curve(g_.temperatureCurve, g_.temperatureColour, a_.tempLo, a_.tempHi);
        if (g_.curves.dil)
            curve(g_.dilCurve, g_.dilColour, 0.0, a_.pressureTop);
        if (g_.curves.o2)
            curve(g_.o2Curve, g_.o2Colour, 0.0, a_.pressureTop);
        if (g_.curves.dil)
            pressureEnds(g_.dilCurve, g_.dilColour, true);
        if (g_.curves.o2)
            pressureEnds(g_.o2Curve, g_.o2Colour, false);
    }

    // Each second's value is drawn over that second: in steps, level to the
    // next change, then straight up or down; otherwise straight from change
    // to change.
    void profile()
    {
        DrawOp line;
        line.kind = DrawKind::Polyline;
        line.colour = g_.lineColour;
        line.width = g_.penWidth;
        {
            ColumnPath path(line.points);
            const std::vector<DepthStep>& steps = g_.series.steps();
            auto it = std::upper_bound(steps.begin(), steps.end(), span_.start,
                                       [](uint64_t t, const DepthStep& s) { return t < s.start; });
            size_t index = it == steps.begin() ? 0 : size_t(it - steps.begin()) - 1;
            uint64_t at = span_.start;
            double value = g_.series[at];
            double drawn = value;
            while (at < span_.end) {
                // The run holding `at` ends at the next step, the series' end, or the span's.
                uint64_t runEnd = span_.end;
                if (at < g_.series.end()) {
                    runEnd = std::min(runEnd, g_.series.end());
                    if (index + 1 < steps.size())
                        runEnd = std::min(runEnd, steps[index + 1].start);
                }
                const int y = depthRow(value);
                drawn = value;
                path.add(column(double(at)), y);
                if (g_.stepLines)
                    path.add(column(double(runEnd)), y);
                at = runEnd;
                if (at < g_.series.end() && index + 1 < steps.size() && steps[index + 1].start == at)
                    ++index;
                value = g_.series[at];
            }
            // Straight lines end with the span's last second. A dive that
            // ends with a depth sample ends with its step.
            if (!g_.stepLines)
                path.add(column(double(span_.end)), depthRow(drawn));
            else if (g_.series.end() > 0 && span_.end == g_.series.end())
                path.add(column(double(span_.end)), depthRow(g_.series.last()));
        }
        list_.ops.push_back(std::move(line));
    }

    void legend()
    {
        struct Entry {
            const char* text;
            Rgb colour;
        };
        std::vector<Entry> entries;
        if (g_.hasData)
            entries.push_back({"Depth (m)", g_.lineColour});
        if (a_.tempAxis)
            entries.push_back({"Temperature (\xC2\xB0" "C)", g_.temperatureColour});
        if (g_.curves.o2 && !g_.o2Curve.empty())
            entries.push_back({"O2 (bar)", g_.o2Colour});
        if (g_.curves.dil && !g_.dilCurve.empty())
            entries.push_back({"Diluent (bar)", g_.dilColour});
        if (!g_.curves.any() || entries.size() < 2)
            return;
        int chars = 0;
        for (const Entry& e : entries)
            chars = std::max(chars, Utf8CharCount(e.text));
        const int w = 8 + 14 + 4 + chars * kCharWidth + 6;
        const int h = 4 + kRowHeight * int(entries.size()) + 2;
        const int x1 = l_.right - 6 - w;
        const int y1 = l_.bottom - 6 - h;
        if (x1 <= l_.plotLeft || y1 <= l_.top)
            return;
        list_.ops.push_back(rectOp(x1, y1, x1 + w, y1 + h, g_.backColour));
        list_.ops.push_back(boxOutline(x1, y1, x1 + w, y1 + h, g_.frameColour));
        for (size_t i = 0; i < entries.size(); ++i) {
            const int y = y1 + 4 + kRowHeight * int(i) + kRowHeight / 2;
            DrawOp swatch;
            swatch.kind = DrawKind::Line;
            swatch.colour = entries[i].colour;
            swatch.width = 2;
            swatch.points = {{x1 + 8, y}, {x1 + 22, y}};
            list_.ops.push_back(swatch);
            list_.ops.push_back(textOp(entries[i].text, x1 + 26, y, AlignH::Left, AlignV::Centre, entries[i].colour,
                                       g_.backColour));
        }
    }

    void readoutBox(int x, const std::vector<std::string>& lines)
    {
        int chars = 0;
        for (const std::string& line : lines)
            chars = std::max(chars, Utf8CharCount(line));
        const int w = 12 + chars * kCharWidth;
        const int h = 6 + kRowHeight * int(lines.size());
        int x1 = x + 12;
        if (x1 + w > l_.right - 2)
            x1 = std::max(l_.plotLeft + 2, x - 12 - w);
        const int y1 = l_.top + 6;
        list_.ops.push_back(rectOp(x1, y1, x1 + w, y1 + h, g_.backColour));
        list_.ops.push_back(boxOutline(x1, y1, x1 + w, y1 + h, g_.frameColour));
        for (size_t i = 0; i < lines.size(); ++i)
            label(lines[i], x1 + 6, y1 + 4 + kRowHeight * int(i), AlignH::Left, AlignV::Top);
    }

    const DiveGraph& g_;
    const GraphAxes a_;
    const DiveGraph::Layout& l_;
    const TimeSpan span_;
    bool plotUsable_ = false;
    DrawList list_;
};

TimeSpan within(const DiveGraph& g, TimeSpan span)
{
    span.end = std::min(span.end, g.maxTime);
    if (span.start >= span.end)
        return g.wholeSpan();
    return span;
}

}  // namespace

DrawList DiveGraph::Draw(int width, int height) const
{
    return Draw(width, height, wholeSpan());
}

DrawList DiveGraph::Draw(int width, int height, TimeSpan span) const
{
    return GraphPainter(*this, width, height, within(*this, span)).base();
}

DrawList DiveGraph::DrawHover(int width, int height, TimeSpan span, double seconds) const
{
    return GraphPainter(*this, width, height, within(*this, span)).hover(seconds);
}

DrawList DiveGraph::DrawRangeSelection(int width, int height, int x1, int x2) const
{
    return GraphPainter(*this, width, height, wholeSpan()).rangeSelection(x1, x2);
}

}  // namespace ravo
