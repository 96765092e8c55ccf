// Dive export from arbitrary samples, header bytes and log labels: the UDDF
// must stay well-formed text, the CSV one row per record; the report's page
// and the slot of a label are made from anything; the names of formats and
// curves are read safely.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "divedata/dive_export.h"
#include "divedata/dive_report.h"
#include "divedata/saved_dive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ravo::CDiveLog log;
    ravo::AppendSamples(data, size, log.samples);
    log.info.recordCount = uint32_t(log.samples.size());
    std::string label(reinterpret_cast<const char*>(data), size);
    std::string start = ravo::StartTimeFromDateKind(label);
    if (!start.empty() && start.size() != 19)
        std::abort();
    std::string uddf = ravo::FormatDiveUddf(log, label);
    for (unsigned char c : uddf)
        if ((c < 0x20 && c != '\n') || c > 0x7E)
            std::abort();
    std::string csv = ravo::FormatDiveCsv(log);
    size_t rows = 0;
    for (char c : csv)
        rows += c == '\n';
    if (rows != log.samples.size() + 1)
        std::abort();
    ravo::ExportFormat format;
    (void)ravo::ParseExportFormat(label, format);
    // A refused list of curves leaves the curves as they were.
    ravo::GraphCurves curves{true, false, true};
    if (!ravo::ParseGraphCurves(label, curves) && !(curves == ravo::GraphCurves{true, false, true}))
        std::abort();

    // The same bytes as a header, for the gases, the tank data and the report.
    for (size_t i = 0; i < size && i < ravo::kHeaderBytes; ++i)
        log.header.raw[i] = data[i];
    log.header.Parse();
    log.partial = size % 2;
    const int slot = ravo::SlotOfStamp(label);
    if (slot < 1 || slot > 999)
        std::abort();
    const std::vector<ravo::ExportDive> dives = {{&log, start, slot}, {&log, start, slot}, {&log, "", 1}};
    for (unsigned char c : ravo::FormatUddf(dives))
        if ((c < 0x20 && c != '\n') || c > 0x7E)
            std::abort();
    (void)ravo::FormatDivesCsv(dives);
    ravo::SavedDive saved;
    saved.ref = {"1A2B", label};
    saved.log = log;
    (void)ravo::BuildDiveReportPage(saved);
    return 0;
}
