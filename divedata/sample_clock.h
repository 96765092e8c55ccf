#pragma once
#include <cstdint>

namespace ravo {

// Turns the samples' 16-bit times, in log order, into seconds since the log
// started: a step back of more than 8 s is the counter wrapping; a small step
// back, or one back across a wrap, counts as no time passing.
class SampleClock {
public:
    uint64_t next(uint16_t time)
    {
        int t = time;
        if (t + 8 < prev_)
            wrap_ += 65536;
        else if (t < prev_ || t - prev_ >= 0xFFF7)
            t = prev_;
        prev_ = t;
        return wrap_ + uint64_t(t);
    }

private:
    uint64_t wrap_ = 0;
    int prev_ = 0;
};

}  // namespace ravo
