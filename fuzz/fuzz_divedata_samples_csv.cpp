// Sample file lines: any bytes must parse without fault, and what is written
// back must read back to the same records.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "divedata/sample_csv.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<ravo::CDiveDataRecord> samples;
    ravo::ParseSamplesText(text, samples);
    std::vector<ravo::CDiveDataRecord> again;
    ravo::ParseSamplesText(ravo::FormatSamplesCsv(samples), again);
    if (again != samples)
        std::abort();
    return 0;
}
