#include "divedata/dive_graph.h"

#include <algorithm>
#include <cmath>

#include "divedata/detail/text_format_p.h"
#include "divedata/sample_clock.h"

namespace ravo {
namespace {

// "%.*lf" with halves rounded away from zero (34.5 with 0 decimals is 35).
std::string formatRoundedAway(double value, int decimals)
{
    double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    return detail::textC("%.*f", decimals, rounded);
}

int boundDigits(double bound)
{
    if (bound == 0.0)
        return 0;
    return std::abs(int(std::trunc(std::log10(std::fabs(bound)))));
}

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

DrawOp pixelOp(int x, int y, Rgb colour)
{
    DrawOp op;
    op.kind = DrawKind::Pixel;
    op.points = {{x, y}};
    op.colour = colour;
    return op;
}

}  // namespace

void DiveGraph::SetData(const CDiveLog* log)
{
    series.fill(0.0);
    hasData = false;
    dataMax = 0.0;
    dataMin = -10.0;
    maxTime = kShortestAxis;
    hasDepth = hasTemp = hasDil = hasO2 = false;
    maxDepth = tempMin = tempMax = dilStart = dilStop = o2Start = o2Stop = 0.0;
    if (!log || log->samples.empty())
        return;

    SampleClock clock;
    uint64_t fill = 0;
    double last = 0.0;
    for (const CDiveDataRecord& sample : log->samples) {
        uint64_t absolute = clock.next(sample.time);
        maxTime = uint32_t(std::max<uint64_t>(maxTime, std::min<uint64_t>(absolute, UINT32_MAX)));

        switch (sample.kind) {
        case KindDepth: {
            hasDepth = true;
            double depth = depthMetres(sample.value);
            maxDepth = std::max(maxDepth, depth);
            hasData = true;
            for (; fill < uint64_t(kSeriesLength) && fill < absolute; ++fill) {
                series[size_t(fill)] = last;
                dataMin = std::min(dataMin, last);
            }
            last = -depth;
            break;
        }
        case KindTemperature: {
            double c = temperatureDegrees(sample.value);
            if (!hasTemp) {
                hasTemp = true;
                tempMin = tempMax = c;
            } else {
                tempMax = std::max(tempMax, c);
                tempMin = std::min(tempMin, c);
            }
            break;
        }
        case KindHpDil:
            if (!hasDil) {
                hasDil = true;
                dilStart = sample.value;
            }
            dilStop = sample.value;
            break;
        case KindHpO2:
            if (!hasO2) {
                hasO2 = true;
                o2Start = sample.value;
            }
            o2Stop = sample.value;
            break;
        default:
            break;
        }
    }
}

DiveGraph::Layout DiveGraph::layoutFor(int width, int height) const
{
    Layout l{};
    l.left0 = 2;
    l.top = 2;
    l.right = width - 5;
    l.bottom = height - 25;
    if (!yTopLabel.empty() || !yBottomLabel.empty())
        l.labelChars = int(std::max(yTopLabel.size(), yBottomLabel.size())) + 2;
    else
        l.labelChars = std::max(boundDigits(fixedMax), boundDigits(fixedMin)) + decimals + 4;
    l.plotLeft = l.left0 + 6 * l.labelChars;
    l.plotHeight = l.bottom - l.top;
    l.midY = (l.top + l.bottom) / 2;
    l.qy = (l.bottom - l.top) / 4;
    l.midX = (l.plotLeft + l.right) / 2;
    l.qx = (l.right - l.plotLeft) / 4;
    return l;
}

int DiveGraph::yPixel(double v, double yMax, double yMin, int plotHeight) const
{
    double range = yMax - yMin;
    double yScale = range != 0.0 ? (plotHeight - 4) / range : 0.0;
    if (!autoScale)
        v = std::clamp(v, std::min(yMin, yMax), std::max(yMin, yMax));
    return int(std::trunc(4 + (yMax - v) * yScale));
}

DrawList DiveGraph::Draw(int width, int height)
{
    DrawList list;
    list.width = width;
    list.height = height;
    const Layout l = layoutFor(width, height);

    DrawOp fillOp;
    fillOp.kind = DrawKind::Fill;
    fillOp.colour = backColour;
    list.ops.push_back(fillOp);

    DrawOp frame;
    frame.kind = DrawKind::Polyline;
    frame.colour = frameColour;
    frame.points = {{l.plotLeft, l.top}, {l.right, l.top}, {l.right, l.bottom}, {l.plotLeft, l.bottom},
                    {l.plotLeft, l.top}};
    list.ops.push_back(frame);

    for (int x = l.plotLeft; x < l.right; x += 4)
        for (int y : {l.midY - l.qy, l.midY, l.midY + l.qy})
            list.ops.push_back(pixelOp(x, y, frameColour));
    for (int y = l.top; y < l.bottom; y += 4)
        for (int x : {l.midX - l.qx, l.midX, l.midX + l.qx})
            list.ops.push_back(pixelOp(x, y, frameColour));

    auto label = [&](const std::string& text, int x, int y, AlignH h, AlignV v, bool upward = false) {
        list.ops.push_back(textOp(text, x, y, h, v, textColour, backColour, upward));
    };
    label(!yTopLabel.empty() ? yTopLabel : detail::textC("%.*f", decimals, fixedMax), l.plotLeft - 4, l.top, AlignH::Right,
          AlignV::Top);
    label(yTitle, (l.left0 + l.plotLeft) / 2, l.midY, AlignH::Centre, AlignV::Baseline, true);
    label(!yBottomLabel.empty() ? yBottomLabel : formatRoundedAway(-dataMin, decimals), l.plotLeft - 4, l.bottom,
          AlignH::Right, AlignV::Baseline);
    label(!xMinLabel.empty() ? xMinLabel : std::string("0"), l.plotLeft, l.bottom + 4, AlignH::Left, AlignV::Top);
    label(xTitle, l.midX, l.bottom + 4, AlignH::Centre, AlignV::Top);
    maxTime = std::clamp<uint32_t>(maxTime, kShortestAxis, kSeriesLength);
    label(!xMaxLabel.empty() ? xMaxLabel : detail::textC("%ld", long((maxTime + 59) / 60)), l.right, l.bottom + 4,
          AlignH::Right, AlignV::Top);

    if (!hasData)
        return list;

    double yMax = autoScale ? dataMax : fixedMax;
    double yMin = autoScale ? dataMin : fixedMin;
    double xStep = double(l.right - l.plotLeft - 2) / double(maxTime);
    double x = l.plotLeft + 1;
    DrawOp profile;
    profile.kind = DrawKind::Polyline;
    profile.colour = lineColour;
    profile.width = penWidth;
    profile.points.reserve(size_t(maxTime) * 2 + 1);
    int currentY = yPixel(series[0], yMax, yMin, l.plotHeight);
    profile.points.push_back({int(std::trunc(x)), currentY});
    for (uint32_t i = 0; i < maxTime; ++i) {
        x += xStep;
        int px = int(std::trunc(x));
        if (stepLines)
            profile.points.push_back({px, currentY});
        currentY = yPixel(series[i], yMax, yMin, l.plotHeight);
        profile.points.push_back({px, currentY});
    }
    list.ops.push_back(std::move(profile));
    return list;
}

}  // namespace ravo
