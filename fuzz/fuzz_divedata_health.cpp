// The unit's health read from saved header text files of any content: the
// figures, the rules, the warning line, the table and the trend.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "divedata/health_trend.h"
#include "divedata/saved_dive.h"
#include "divedata/unit_health.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string folder = [] {
        auto dir = std::filesystem::temp_directory_path() / "fuzz_divedata_health";
        std::filesystem::create_directories(dir);
        return dir.string();
    }();
    // Three dives of one unit: the input as the first header file, and cut
    // in two for the others, so the rules see histories of any shape.
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string pieces[] = {text, text.substr(0, size / 2), text.substr(size / 2)};
    const char* stamps[] = {"2000-01-01_00-00-00_O", "2000-01-02_00-00-00_O", "2000-01-02_00-00-00_2_O"};
    for (int i = 0; i < 3; ++i) {
        const std::string base = folder + "/KTL_SN1A2B_" + stamps[i];
        for (const char* ext : {".txt", ".csv"}) {
            std::FILE* file = std::fopen((base + ext).c_str(), "wb");
            if (!file)
                return 0;
            if (ext[1] == 't')
                std::fwrite(pieces[i].data(), 1, pieces[i].size(), file);
            std::fclose(file);
        }
    }
    const ravo::HealthReport report = ravo::AssessHealth("1A2B", ravo::ReadHealthDives(folder, "1A2B"));
    if (report.dives.size() != 3)
        std::abort();
    for (const ravo::HealthFlag& flag : report.flags)
        if (flag.dive >= report.dives.size() || flag.cell < 0 || flag.cell > 2)
            std::abort();
    (void)ravo::HealthWarningLine(report);
    if (ravo::HealthTableRows(report).size() != 4)
        std::abort();
    (void)ravo::DrawHealthTrend(report, 600, 400);
    ravo::SavedDive dive;
    (void)ravo::LoadSavedDive(folder, {"1A2B", stamps[0]}, dive);
    return 0;
}
