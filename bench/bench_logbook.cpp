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

#include "divedata/logbook.h"
#include "saved_dives_writer.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main()
{
    const std::string folder =
        (std::filesystem::temp_directory_path() / ("bench_logbook_" + std::to_string(::getpid()))).string();
    std::filesystem::create_directories(folder);
    const uint64_t bytes = bench::writeSavedDives(folder, bench::kBenchDives);

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
    std::printf("bench_logbook: %d saved dives, %.1f MB of sample files\n", bench::kBenchDives, bytes / 1e6);
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
