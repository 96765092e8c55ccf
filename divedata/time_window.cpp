#include "divedata/time_window.h"

#include <algorithm>
#include <cmath>

namespace ravo {

void TimeWindow::setLength(uint64_t length)
{
    length_ = length;
    span_ = {0, length};
}

bool TimeWindow::show(double start, double length)
{
    const double whole = double(length_);
    const double shortest = std::min(double(kShortestSpan), whole);
    length = std::clamp(std::round(length), shortest, whole);
    start = std::clamp(std::round(start), 0.0, whole - length);
    const TimeSpan next{uint64_t(start), uint64_t(start) + uint64_t(length)};
    if (next == span_)
        return false;
    span_ = next;
    return true;
}

bool TimeWindow::zoomBy(double at, double scale)
{
    if (!(scale > 0.0) || !std::isfinite(scale) || !std::isfinite(at))
        return false;
    const double length = double(span_.length());
    const double newLength = length * scale;
    at = std::clamp(at, double(span_.start), double(span_.end));
    // The time `at` keeps its fraction of the way across the graph.
    const double fraction = length > 0.0 ? (at - double(span_.start)) / length : 0.5;
    return show(at - fraction * newLength, newLength);
}

namespace {

double atLeastOne(double factor)
{
    return factor > 0.0 && factor < 1.0 ? 1.0 / factor : factor;
}

}  // namespace

bool TimeWindow::zoomIn(double at, double factor)
{
    return zoomBy(at, 1.0 / atLeastOne(factor));
}

bool TimeWindow::zoomOut(double at, double factor)
{
    return zoomBy(at, atLeastOne(factor));
}

bool TimeWindow::zoomTo(double a, double b)
{
    if (!std::isfinite(a) || !std::isfinite(b))
        return false;
    if (b < a)
        std::swap(a, b);
    const double shortest = std::min(double(kShortestSpan), double(length_));
    const double middle = (a + b) / 2.0;
    const double length = std::max(b - a, shortest);
    return show(middle - length / 2.0, length);
}

bool TimeWindow::pan(double seconds)
{
    if (!std::isfinite(seconds))
        return false;
    return show(double(span_.start) + seconds, double(span_.length()));
}

bool TimeWindow::reset()
{
    const TimeSpan whole{0, length_};
    if (span_ == whole)
        return false;
    span_ = whole;
    return true;
}

}  // namespace ravo
