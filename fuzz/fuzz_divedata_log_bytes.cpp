// Bytes from the unit: a directory entry reply, a header and a sample block,
// then everything computed from them (graph, drawing list, SVG, summary).
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "divedata/dive_graph.h"
#include "divedata/dive_log.h"
#include "divedata/dive_summary.h"
#include "link/log_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ravo::CDiveLog log;
    // The decoder the link runs on every directory-entry reply.
    ravo::LogDirectoryEntry entry = ravo::DecodeLogEntry(data, std::min<size_t>(size, 12));
    log.info.startTime = entry.startTime;
    log.info.auxWord = entry.auxWord;
    size_t headerBytes = std::min<size_t>(size, ravo::kHeaderBytes);
    std::memcpy(log.header.raw, data, headerBytes);
    std::memcpy(log.redboxHeader.raw, data, headerBytes);
    log.header.Parse();
    log.redboxHeader.Parse();
    (void)log.header.FormatTxt();
    (void)log.FormatRedboxFile();
    ravo::AppendSamples(data, size, log.samples);
    log.info.recordCount = uint32_t(log.samples.size());
    static ravo::DiveGraph graph;
    graph.SetData(&log);
    int width = size > 1 ? data[0] * 4 : 800;
    int height = size > 1 ? data[1] * 3 : 500;
    (void)ravo::RenderSvg(graph.Draw(width, height));
    (void)ravo::DiveSummaryText(log, graph);
    return 0;
}
