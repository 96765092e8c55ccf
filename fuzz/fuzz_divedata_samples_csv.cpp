// Sample file lines: any bytes must parse without fault, and what is written
// back must read back to the same records and count as a sample file.
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
    int foreign = ravo::FirstForeignSampleLine(text);
    if (foreign < 0 || ravo::FirstForeignSampleLine(ravo::FormatSamplesCsv(samples)) != 0)
        std::abort();
    return 0;
}
