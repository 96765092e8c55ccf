#include "cli/saved_log_check.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "divedata/sample_csv.h"

namespace ravo::cli {

bool checkSavedLog(const std::string& folder, const std::string& unit, const std::string& stamp,
                   const std::string& base)
{
    const std::string samplePath = base + ".csv";
    const SampleFileCheck check = CheckSampleFile(samplePath);
    if (check.missing) {
        std::fprintf(stderr, "No saved dive %s %s in %s (no file %s)\n", unit.c_str(), stamp.c_str(), folder.c_str(),
                     samplePath.c_str());
        return false;
    }
    if (!check.ok) {
        std::fprintf(stderr, "%s\n", check.problem.c_str());
        return false;
    }
    std::error_code error;
    if (!std::filesystem::is_regular_file(base + ".txt", error))
        std::fprintf(stderr, "No header file %s; the summary is made from the samples alone\n",
                     (base + ".txt").c_str());
    return true;
}

}  // namespace ravo::cli
