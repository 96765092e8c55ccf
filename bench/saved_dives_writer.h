#pragma once
// The saved dives the logbook benchmarks open: 2,000 dives of seven units,
// about 80 MB of sample files, written as the program saves them.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "divedata/dive_header_orangebox.h"
#include "divedata/sample_csv.h"
#include "firmware/file_util.h"
#include "link/unit_time.h"

namespace bench {

inline constexpr int kBenchDives = 2000;

// A dive of about 50 minutes: depth every second, temperature every 10 s,
// both pressures every 30 s.
inline std::vector<ravo::CDiveDataRecord> diveSamples(std::mt19937& random)
{
    const int seconds = 2700 + int(random() % 600);
    const double deepest = 10.0 + random() % 100;
    std::vector<ravo::CDiveDataRecord> samples;
    for (int t = 0; t < seconds; ++t) {
        const double depth = deepest * std::sin(M_PI * t / seconds) + std::sin(t / 9.0);
        samples.push_back({uint16_t(t), ravo::KindDepth, uint8_t(std::clamp(std::lround(depth * 2), 0L, 255L))});
        if (t % 10 == 0)
            samples.push_back({uint16_t(t), ravo::KindTemperature, uint8_t(60 + random() % 40)});
        if (t % 30 == 0) {
            samples.push_back({uint16_t(t), ravo::KindHpO2, uint8_t(200 - t * 100 / seconds)});
            samples.push_back({uint16_t(t), ravo::KindHpDil, uint8_t(190 - t * 60 / seconds)});
        }
    }
    return samples;
}

inline void writeBytes(const std::string& path, const std::string& content)
{
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(content.data(), 1, content.size(), file);
        std::fclose(file);
    }
}

inline uint64_t writeSavedDives(const std::string& folder, int count)
{
    std::mt19937 random(21);
    uint64_t bytes = 0;
    ravo::CDiveHeaderOrangebox header;
    header.text = "Ravo_Config v1.35";
    const std::string headerText = header.FormatTxt();
    for (int i = 0; i < count; ++i) {
        const unsigned unit = 0x1000 + unsigned(i % 7);
        std::string stamp = ravo::FormatUnitTime(400000000u + uint32_t(i) * 86400u / 3);
        for (char& c : stamp)
            c = c == ':' ? '-' : c == ' ' ? '_' : c;
        char name[64];
        std::snprintf(name, sizeof name, "KTL_SN%X_%s_O", unit, stamp.c_str());
        const std::string base = ravo::joinFolder(folder, name);
        const std::string samples = ravo::FormatSamplesCsv(diveSamples(random));
        writeBytes(base + ".csv", samples);
        writeBytes(base + ".txt", headerText);
        bytes += samples.size();
    }
    return bytes;
}

}  // namespace bench
