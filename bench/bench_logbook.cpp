// Opens the logbook of 2,000 saved dives (about 80 MB of sample files) the
// way the logbook view and `ravo-cli logbook` do: the saved-log listing, then
// every row through the figures cache. Prints the first open (no cache file:
// every sample file read, the cache written; target under 2 s) and the median
// of 5 later opens (the cache file read, every file's size and time checked;
// target under 300 ms), and sorting, filtering and totals of the rows.
// The files were just written, so the first open reads them from the
// system's file cache, not from the disk.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <unistd.h>
#include <random>
#include <vector>

#include "divedata/dive_header_orangebox.h"
#include "divedata/logbook.h"
#include "divedata/sample_csv.h"
#include "firmware/file_util.h"
#include "link/unit_time.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kDives = 2000;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A dive of about 50 minutes: depth every second, temperature every 10 s,
// both pressures every 30 s.
std::vector<ravo::CDiveDataRecord> diveSamples(std::mt19937& random)
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

void writeBytes(const std::string& path, const std::string& content)
{
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(content.data(), 1, content.size(), file);
        std::fclose(file);
    }
}

uint64_t writeDives(const std::string& folder)
{
    std::mt19937 random(21);
    uint64_t bytes = 0;
    ravo::CDiveHeaderOrangebox header;
    header.text = "Ravo_Config v1.35";
    const std::string headerText = header.FormatTxt();
    for (int i = 0; i < kDives; ++i) {
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

}  // namespace

int main()
{
    const std::string folder =
        (std::filesystem::temp_directory_path() / ("bench_logbook_" + std::to_string(::getpid()))).string();
    std::filesystem::create_directories(folder);
    const uint64_t bytes = writeDives(folder);

    auto open = [&](size_t& rows, size_t& read, bool& taken) {
        ravo::DiveFiguresCache cache(folder);
        std::vector<std::string> names;
        ravo::ListSavedDiveLogs(folder, names);
        rows = ravo::BuildLogbook(cache, names).size();
        read = cache.filesRead();
        taken = cache.cacheFileTaken();
    };
    size_t rows = 0, read = 0;
    bool taken = false;
    auto start = Clock::now();
    open(rows, read, taken);
    const double first = msSince(start);
    std::printf("bench_logbook: %d saved dives, %.1f MB of sample files\n", kDives, bytes / 1e6);
    std::printf("  first open (no cache, %zu files read, cache written): %.0f ms (target < 2000 ms)\n", read, first);

    std::vector<double> later;
    for (int i = 0; i < 5; ++i) {
        start = Clock::now();
        open(rows, read, taken);
        later.push_back(msSince(start));
    }
    std::sort(later.begin(), later.end());
    std::printf("  later open (cache %s, %zu files read), median of 5: %.1f ms (target < 300 ms)\n",
                taken ? "taken" : "NOT taken", read, later[2]);

    ravo::DiveFiguresCache cache(folder);
    std::vector<std::string> names;
    ravo::ListSavedDiveLogs(folder, names);
    std::vector<ravo::LogbookRow> all = ravo::BuildLogbook(cache, names);
    start = Clock::now();
    ravo::SortLogbook(all, ravo::LogbookColumn::MaxDepth, false);
    const std::vector<ravo::LogbookRow> one = ravo::FilterLogbook(all, "1003");
    const std::string totals = ravo::LogbookTotalsText(ravo::TotalsOf(one));
    std::printf("  sort by depth, filter by unit, totals: %.1f ms (%zu rows, %s)\n", msSince(start), rows,
                totals.c_str());

    std::error_code error;
    std::filesystem::remove_all(folder, error);
    return first < 2000.0 && later[2] < 300.0 ? 0 : 1;
}
