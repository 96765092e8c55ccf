#include "divedata/dive_summary.h"

#include "divedata/detail/text_format_p.h"
#include "divedata/saved_logs.h"

namespace ravo {

std::string DiveSummaryText(const CDiveLog& log, const DiveGraph& graph, bool onScreen)
{
    if (log.samples.empty())
        return kSelectDiveLog;
    std::string text = detail::textC("Dive info: unit %04X (records %d)", unsigned(log.info.unitNumber),
                               int(log.info.recordCount));
    if (log.partial)
        text += "\r\nPartial log: " + RecordsOfText(uint32_t(log.samples.size()), log.expectedRecords);
    if (graph.hasDepth)
        text += detail::textC("\r\nDuration %0.1f minute, with maxDepth of %0.1f meter", graph.maxTime / 60.0,
                        graph.maxDepth);
    if (graph.hasTemp && onScreen)
        text += detail::textC("\r\nTemp min %0.2f \u00B0C max %0.2f \u00B0C", graph.tempMin, graph.tempMax);
    else if (graph.hasTemp)
        text += detail::textC("\r\nTemp min %0.2f max %0.2f", graph.tempMin, graph.tempMax);
    if (graph.hasDil)
        text += detail::textC("\r\nHP-DIL start %d bar to stop %d bar (diff %d bar)", int(graph.dilStart),
                        int(graph.dilStop), int(graph.dilStart - graph.dilStop));
    if (graph.hasO2)
        text += detail::textC("\r\nHP-O2 start %d bar to stop %d bar (diff %d bar)", int(graph.o2Start), int(graph.o2Stop),
                        int(graph.o2Start - graph.o2Stop));
    return text;
}

}  // namespace ravo
