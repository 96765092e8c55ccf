#pragma once
#include <cstdint>

namespace ravo {

// A span of a dive's time axis in whole seconds since the log started:
// start <= t < end.
struct TimeSpan {
    uint64_t start = 0;
    uint64_t end = 0;

    uint64_t length() const { return end > start ? end - start : 0; }
    bool operator==(const TimeSpan&) const = default;
};

// The part of a dive the graph shows: the whole dive, or a zoomed span of
// it. Zooming keeps the time under the cursor where it is; every span stays
// inside the dive and at least kShortestSpan long (or the whole dive when
// that is shorter).
class TimeWindow {
public:
    static constexpr uint64_t kShortestSpan = 60;

    // A new dive `length` seconds long: shows all of it.
    void setLength(uint64_t length);
    uint64_t length() const { return length_; }

    TimeSpan span() const { return span_; }
    bool zoomed() const { return span_.start > 0 || span_.end < length_; }

    // Shows `factor` times less (zoomIn) or more (zoomOut) time, keeping the
    // time `at` at the same place across the graph. A factor below 1 counts
    // as its inverse. False when nothing changed (already at the limit).
    bool zoomIn(double at, double factor = 2.0);
    bool zoomOut(double at, double factor = 2.0);
    // Shows the time from `a` to `b` (either order), widened about its middle
    // to the shortest span when it is shorter.
    bool zoomTo(double a, double b);
    // Moves the span by `seconds` (negative: back), stopping at the ends.
    bool pan(double seconds);
    // Back to the whole dive.
    bool reset();

    // The middle of the span shown, for zooming from the keyboard.
    double centre() const { return (double(span_.start) + double(span_.end)) / 2.0; }

private:
    bool show(double start, double length);
    bool zoomBy(double at, double scale);

    uint64_t length_ = 0;
    TimeSpan span_;
};

}  // namespace ravo
