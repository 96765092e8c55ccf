#include "link/clock.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace ravo {
namespace {

uint64_t steadyMicros()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

class SystemClock : public Clock {
public:
    uint64_t nowMs() override { return steadyMicros() / 1000; }
    double fineMs() override { return double(steadyMicros()) / 1000.0; }
    void sleepMs(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

}  // namespace

Clock& systemClock()
{
    static SystemClock clock;
    return clock;
}

ScaledClock::ScaledClock(double factor) : factor_(factor > 0 ? factor : 1.0), startUs_(steadyMicros()) {}

uint64_t ScaledClock::nowMs()
{
    return static_cast<uint64_t>(fineMs());
}

double ScaledClock::fineMs()
{
    return double(steadyMicros() - startUs_) * factor_ / 1000.0;
}

void ScaledClock::sleepMs(uint32_t ms)
{
    std::this_thread::sleep_for(std::chrono::microseconds(static_cast<int64_t>(ms * 1000.0 / factor_)));
}

uint32_t ScaledClock::realMs(uint32_t ms)
{
    return static_cast<uint32_t>(std::ceil(ms / factor_));
}

PatientClock::PatientClock(double factor) : factor_(factor > 0 ? factor : 1.0), startUs_(steadyMicros()) {}

uint64_t PatientClock::nowMs()
{
    return static_cast<uint64_t>(fineMs());
}

double PatientClock::fineMs()
{
    return double(steadyMicros() - startUs_ + skippedUs_.load()) / 1000.0;
}

void PatientClock::sleepMs(uint32_t ms)
{
    const auto realUs = static_cast<uint64_t>(ms * 1000.0 / factor_);
    std::this_thread::sleep_for(std::chrono::microseconds(realUs));
    skippedUs_.fetch_add(uint64_t(ms) * 1000 - realUs);
}

uint32_t PatientClock::realMs(uint32_t ms)
{
    int64_t left = expiryMs_.load();
    while (left > 0) {
        if (expiryMs_.compare_exchange_weak(left, left - std::min<int64_t>(left, ms)))
            return static_cast<uint32_t>(std::ceil(ms / factor_));
    }
    return ms;
}

void PatientClock::allowExpiry(uint32_t ms)
{
    expiryMs_.fetch_add(ms);
}

uint64_t ManualClock::nowMs()
{
    return now_.load();
}

void ManualClock::sleepMs(uint32_t ms)
{
    now_.fetch_add(ms);
}

}  // namespace ravo
