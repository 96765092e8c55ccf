#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ravo {

// One sample: 4 bytes on the wire, time (u16 LE), kind, value.
struct CDiveDataRecord {
    uint16_t time = 0;  // seconds since the log started, wrapping at 65536
    uint8_t kind = 0;
    uint8_t value = 0;

    bool operator==(const CDiveDataRecord&) const = default;
};

// The sample kinds the program interprets; every other kind is carried along.
enum SampleKind : uint8_t {
    KindDepth = 8,         // 0.5 m per count
    KindHpO2 = 13,         // 1 bar per count
    KindHpDil = 14,        // 1 bar per count
    KindTemperature = 39,  // 0.25 degree per count
};

inline constexpr size_t kSampleBytes = 4;

// Scale of each interpreted kind.
inline double depthMetres(uint8_t value) { return value * 0.5; }
inline double temperatureDegrees(uint8_t value) { return value * 0.25; }

// Cuts a received block into records and appends them to `samples`. A
// trailing partial record (a transfer cut inside a record) is dropped.
// Returns 0, or -1 (nothing appended) for a null block or a count of 0.
int AppendSamples(const uint8_t* bytes, size_t byteCount, std::vector<CDiveDataRecord>& samples);

}  // namespace ravo
