#pragma once
#include <atomic>
#include <cstdint>

namespace ravo {

// The one source of ticks and sleeps for the link and the worker. Tests put a
// scaled or virtual clock in its place, so the real timing algorithms run
// without waiting seconds of real time.
class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; never goes backwards.
    virtual uint64_t nowMs() = 0;
    // The same time with its fraction of a millisecond, where the clock has one
    // (the simulated unit times the line with it).
    virtual double fineMs() { return double(nowMs()); }
    virtual void sleepMs(uint32_t ms) = 0;
    // Real milliseconds that pass while `ms` of this clock's time pass; bounds
    // waits made on the operating system (poll on a socket).
    virtual uint32_t realMs(uint32_t ms) { return ms; }
};

// The wall clock (steady clock, real sleeps).
Clock& systemClock();

// Time that runs `factor` times faster than real time: a 2500 ms wait passes in
// 2500 / factor real milliseconds.
class ScaledClock : public Clock {
public:
    explicit ScaledClock(double factor);
    uint64_t nowMs() override;
    double fineMs() override;
    void sleepMs(uint32_t ms) override;
    uint32_t realMs(uint32_t ms) override;

private:
    double factor_;
    uint64_t startUs_;
};

// Time in which pauses run `factor` times faster while a wait for the peer's
// bytes keeps its real length (it ends the moment bytes come): a peer that
// answers is waited for as patiently as on the real line, however busy the
// machine is. Where the peer is known to stay silent, allowExpiry lets that
// much of the following waits run `factor` times faster too.
class PatientClock : public Clock {
public:
    explicit PatientClock(double factor);
    uint64_t nowMs() override;
    double fineMs() override;
    void sleepMs(uint32_t ms) override;
    uint32_t realMs(uint32_t ms) override;
    void allowExpiry(uint32_t ms);

private:
    double factor_;
    uint64_t startUs_;
    std::atomic<uint64_t> skippedUs_{0};
    std::atomic<int64_t> expiryMs_{0};
};

// Virtual time that moves only when somebody sleeps; waits on the operating
// system do not wait at all.
class ManualClock : public Clock {
public:
    uint64_t nowMs() override;
    void sleepMs(uint32_t ms) override;
    uint32_t realMs(uint32_t) override { return 0; }
    void advance(uint32_t ms) { sleepMs(ms); }

private:
    std::atomic<uint64_t> now_{0};
};

}  // namespace ravo
