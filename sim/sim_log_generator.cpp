#include "sim/sim_log_generator.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace ravo::sim {

uint64_t SimRandom::next()
{
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int SimRandom::range(int low, int high)
{
    if (high <= low)
        return low;
    return low + int(next() % uint64_t(high - low + 1));
}

double SimRandom::real(double low, double high)
{
    return low + (high - low) * double(next() >> 11) / double(1ull << 53);
}

namespace {

void put8(std::array<uint8_t, 256>& h, int at, uint8_t v) { h[size_t(at)] = v; }

void put16(std::array<uint8_t, 256>& h, int at, uint32_t v)
{
    h[size_t(at)] = uint8_t(v);
    h[size_t(at) + 1] = uint8_t(v >> 8);
}

void put32(std::array<uint8_t, 256>& h, int at, uint32_t v)
{
    put16(h, at, v & 0xFFFF);
    put16(h, at + 2, v >> 16);
}

void putFloat(std::array<uint8_t, 256>& h, int at, float f)
{
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    put32(h, at, bits);
}

void putValidMarker(std::array<uint8_t, 256>& h)
{
    put16(h, 0, 0xFFFF);
    put16(h, 2, 0x0000);
}

void addRecord(std::vector<uint8_t>& out, uint32_t time, uint8_t kind, uint8_t value)
{
    out.push_back(uint8_t(time));
    out.push_back(uint8_t(time >> 8));
    out.push_back(kind);
    out.push_back(value);
}

uint8_t clampByte(double v)
{
    return uint8_t(std::clamp(std::lround(v), 0l, 255l));
}

// The planned shape of a dive of `duration` seconds.
struct Profile {
    double maxDepth;
    double descentEnd, bottomEnd, ascentTo6, stop6End, ascentTo3, stop3End, surface;

    double depthAt(double t) const
    {
        if (t <= descentEnd)
            return maxDepth * t / descentEnd;
        if (t <= bottomEnd)
            return maxDepth;
        if (t <= ascentTo6)
            return maxDepth - (maxDepth - stopDepth6()) * (t - bottomEnd) / (ascentTo6 - bottomEnd);
        if (t <= stop6End)
            return stopDepth6();
        if (t <= ascentTo3)
            return stopDepth6() - (stopDepth6() - stopDepth3()) * (t - stop6End) / (ascentTo3 - stop6End);
        if (t <= stop3End)
            return stopDepth3();
        if (t <= surface)
            return stopDepth3() * (surface - t) / std::max(1.0, surface - stop3End);
        return 0;
    }
    double stopDepth6() const { return std::min(6.0, maxDepth); }
    double stopDepth3() const { return std::min(3.0, maxDepth); }
};

Profile planProfile(double maxDepth, double duration)
{
    double descent = maxDepth / 0.3;           // 18 m/min
    double ascentDeep = (maxDepth - std::min(6.0, maxDepth)) / 0.15;  // 9 m/min
    double stops = maxDepth > 15 ? 180 : 60;
    double ascentShallow = 3 / 0.15;
    double needed = descent + ascentDeep + 2 * stops + 2 * ascentShallow;
    double usable = duration * 0.85;
    double scale = needed > usable ? usable / needed : 1.0;
    Profile p{};
    p.maxDepth = std::max(1.0, maxDepth * scale);
    double bottom = std::max(0.0, usable - needed * scale);
    p.descentEnd = std::max(1.0, descent * scale);
    p.bottomEnd = p.descentEnd + bottom;
    p.ascentTo6 = p.bottomEnd + ascentDeep * scale;
    p.stop6End = p.ascentTo6 + stops * scale;
    p.ascentTo3 = p.stop6End + ascentShallow * scale;
    p.stop3End = p.ascentTo3 + stops * scale;
    p.surface = p.stop3End + ascentShallow * scale;
    return p;
}

// Records per ten seconds: five depths, one temperature, two PO2 values, and
// every thirty seconds the two pressures and the battery charge.
constexpr double kRecordsPerSecond = (5 + 1 + 2 + 3.0 / 3) / 10.0;

}  // namespace

SimLog generateDive(const DivePlan& plan)
{
    SimRandom rnd(plan.seed * 7919 + 17);
    SimLog log;
    log.startTime = plan.startTime;
    double duration = std::max(10.0, plan.records / kRecordsPerSecond);
    double wantedDepth = plan.maxDepthM > 0 ? plan.maxDepthM : rnd.real(12, 55);
    Profile profile = planProfile(std::min(wantedDepth, 120.0), duration);

    double waterTemp = rnd.real(6, 24);
    double surfaceTemp = waterTemp + rnd.real(2, 8);
    double o2Start = rnd.range(170, 200);
    double dilStart = rnd.range(180, 210);
    int soc = rnd.range(70, 100);
    // About a litre a minute from a three-litre cylinder, never below 40 bar.
    double o2Use = std::min(rnd.real(0.004, 0.006), (o2Start - 40) / duration);  // bar per second

    log.records.reserve(size_t(plan.records) * 4);
    for (uint32_t t = 0; log.recordCount() < plan.records; ++t) {
        auto room = [&] { return log.recordCount() < plan.records; };
        double depth = profile.depthAt(t);
        if (t % 2 == 0 && room()) {
            double noise = depth > 1 && t > profile.descentEnd && t < profile.bottomEnd ? rnd.real(-0.5, 0.5) : 0;
            addRecord(log.records, t, 8, clampByte((depth + noise) * 2));
        }
        if (t % 10 == 3 && room()) {
            double temp = waterTemp + (surfaceTemp - waterTemp) * std::exp(-double(t) / 300.0);
            addRecord(log.records, t, 39, clampByte(temp * 4));
        }
        if (t % 10 == 5 && room())
            addRecord(log.records, t, 20, clampByte(depth < 6 ? 70 : 130) + uint8_t(rnd.range(0, 3)));
        if (t % 10 == 5 && room())
            addRecord(log.records, t, 21, clampByte(depth < 6 ? 70 : 130) + uint8_t(rnd.range(0, 3)));
        if (t % 30 == 7 && room())
            addRecord(log.records, t, 13, clampByte(o2Start - o2Use * t));
        if (t % 30 == 7 && room())
            addRecord(log.records, t, 14, clampByte(dilStart - std::min(0.002 * t, 80.0) - profile.maxDepth * 0.2 * (t > profile.descentEnd)));
        if (t % 30 == 7 && room())
            addRecord(log.records, t, 33, uint8_t(std::max(5, soc - int(t / 900))));
    }
    log.auxWord = uint16_t(std::lround(profile.maxDepth * 10));

    auto& h = log.header;
    putValidMarker(h);
    put32(h, 4, plan.startTime);
    put16(h, 8, uint32_t(o2Start * 10));
    put16(h, 10, uint32_t(dilStart * 10));
    put8(h, 12, uint8_t(rnd.range(68, 72)));
    put8(h, 13, uint8_t(rnd.range(68, 72)));
    const int cell1 = rnd.range(40, 52);
    const int cell2 = cell1 + (rnd.range(40, 52) - 46) / 3;
    put8(h, 14, uint8_t(plan.cellMv[0] >= 0 ? plan.cellMv[0] : cell1));
    put8(h, 15, uint8_t(plan.cellMv[1] >= 0 ? plan.cellMv[1] : cell2));
    put16(h, 16, uint32_t(rnd.range(0, 5)));
    put16(h, 18, uint32_t(rnd.range(0, 3)));
    put8(h, 20, 1);  // closed circuit
    put16(h, 21, 3);
    put8(h, 23, 99);
    put8(h, 24, plan.softwareVersion);
    put16(h, 25, plan.batterySerial);
    put16(h, 27, plan.unitNumber);
    put16(h, 29, plan.logNumber);
    put8(h, 31, uint8_t(rnd.range(1, 60)));
    put8(h, 32, uint8_t(plan.dilHePercent));
    put8(h, 33, uint8_t(plan.dilN2Percent));
    put8(h, 34, uint8_t(soc));
    put16(h, 35, uint32_t(rnd.range(3850, 4150)));
    put16(h, 37, uint32_t(rnd.range(12, 240)));
    put16(h, 39, uint32_t(rnd.range(0, 400)));
    for (int i = 0; i < 9; ++i) {
        // Surface-saturated nitrogen, faster compartments a little loaded.
        putFloat(h, 41 + 4 * i, float(0.745 + rnd.real(0.0, 0.25) / (i + 1)));
        putFloat(h, 77 + 4 * i, plan.dilHePercent ? float(rnd.real(0.0, 0.2) / (i + 1)) : 0.0f);
    }
    put32(h, 113, uint32_t(rnd.range(45, 2880)));  // minutes since the last dive
    put8(h, 117, plan.dilHePercent ? 1 : 0);
    return log;
}

SimLog generateRedbox(const RedboxPlan& plan)
{
    SimRandom rnd(plan.seed * 104729 + 3);
    SimLog log;
    log.startTime = plan.startTime;
    uint32_t t = 0;
    for (uint32_t i = 0; i < plan.records; ++i) {
        t += uint32_t(rnd.range(1, 90));
        addRecord(log.records, t, uint8_t(rnd.range(1, 12)), uint8_t(rnd.range(0, 255)));
    }
    log.auxWord = uint16_t(rnd.range(1, 9));

    auto& h = log.header;
    putValidMarker(h);
    put32(h, 4, plan.startTime);
    put16(h, 8, uint32_t(rnd.range(3800, 4150)));   // battery millivolts
    put8(h, 10, uint8_t(rnd.range(60, 100)));        // charge
    put32(h, 11, t);                                  // seconds covered
    put16(h, 15, uint32_t(rnd.range(1, 300)));
    put16(h, 17, uint32_t(rnd.range(1, 300)));
    put8(h, 19, 2);
    for (int i = 20; i <= 24; ++i)
        put8(h, i, uint8_t(rnd.range(0, 9)));
    put8(h, 25, plan.layoutLevel);
    put16(h, 26, plan.unitSerial);
    put16(h, 28, plan.softwareVersion);
    put32(h, 30, uint32_t(rnd.range(1, 5000)));
    if (plan.layoutLevel >= 43) {
        put16(h, 34, uint32_t(rnd.range(1, 50)));
        put32(h, 36, plan.serviceDate);
        put16(h, 40, uint32_t(rnd.range(0, 999)));
        put16(h, 42, uint32_t(rnd.range(0, 999)));
        for (int i = 44; i <= 53; ++i)
            put8(h, i, uint8_t(rnd.range(0, 200)));
        put16(h, 58, uint32_t(rnd.range(0, 2000)));
        put8(h, 60, uint8_t(rnd.range(0, 9)));
        put8(h, 61, uint8_t(rnd.range(0, 9)));
        put16(h, 62, uint32_t(rnd.range(0, 2000)));
        put8(h, 64, uint8_t(rnd.range(0, 9)));
        put8(h, 65, uint8_t(rnd.range(0, 9)));
        put32(h, 115, uint32_t(rnd.range(0, 100000)));
        put16(h, 119, uint32_t(rnd.range(0, 999)));
    }
    for (int i = 121; i <= 123; ++i)
        put8(h, i, uint8_t(rnd.range(0, 99)));
    for (int i = 0; i < 3; ++i)
        put16(h, 124 + 2 * i, uint32_t(rnd.range(0, 4000)));
    for (int i = 0; i < 9; ++i) {
        put32(h, 130 + 4 * i, uint32_t(rnd.range(0, 100000)));
        put32(h, 166 + 4 * i, uint32_t(rnd.range(0, 100000)));
    }
    put8(h, 202, uint8_t(rnd.range(0, 9)));
    return log;
}

}  // namespace ravo::sim
