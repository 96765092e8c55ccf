#include "divedata/dive_export.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include "divedata/detail/text_format_p.h"
#include "divedata/dive_graph.h"
#include "divedata/sample_clock.h"
#include "divedata/saved_logs.h"
#include "divedata/text_file.h"

namespace ravo {
namespace {

// One row per sample record, each led by `lead`, with only the cell of its
// kind filled.
void appendCsvRows(std::string& out, const CDiveLog& log, const std::string& lead)
{
    out.reserve(out.size() + log.samples.size() * (16 + lead.size()));
    SampleClock clock;
    for (const CDiveDataRecord& sample : log.samples) {
        const unsigned long long seconds = clock.next(sample.time);
        out += lead;
        switch (sample.kind) {
        case KindDepth: out += detail::textC("%llu,%.1f,,,\r\n", seconds, depthMetres(sample.value)); break;
        case KindTemperature:
            out += detail::textC("%llu,,%.2f,,\r\n", seconds, temperatureDegrees(sample.value));
            break;
        case KindHpDil: out += detail::textC("%llu,,,%d,\r\n", seconds, int(sample.value)); break;
        case KindHpO2: out += detail::textC("%llu,,,,%d\r\n", seconds, int(sample.value)); break;
        default: out += detail::textC("%llu,,,,\r\n", seconds); break;
        }
    }
}

}  // namespace

std::string PartialLogNote(const CDiveLog& log)
{
    return "Partial log: " + RecordsOfText(uint32_t(log.samples.size()), log.expectedRecords);
}

bool ParseExportFormat(const std::string& text, ExportFormat& format)
{
    const std::string name = detail::lowerAscii(text);
    for (ExportFormat f :
         {ExportFormat::Uddf, ExportFormat::Csv, ExportFormat::Svg, ExportFormat::Png, ExportFormat::Pdf})
        if (name == ExportExtension(f)) {
            format = f;
            return true;
        }
    return false;
}

const char* ExportExtension(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Uddf: return "uddf";
    case ExportFormat::Csv: return "csv";
    case ExportFormat::Svg: return "svg";
    case ExportFormat::Png: return "png";
    case ExportFormat::Pdf: return "pdf";
    }
    return "";
}

std::string StartTimeFromDateKind(const std::string& dateKind)
{
    // 2012-05-06_14-22-33_O
    static const char shape[] = "dddd-dd-dd_dd-dd-dd_";
    if (dateKind.size() < sizeof shape - 1)
        return {};
    for (size_t i = 0; i + 1 < sizeof shape; ++i) {
        unsigned char c = static_cast<unsigned char>(dateKind[i]);
        if (shape[i] == 'd' ? !std::isdigit(c) : c != static_cast<unsigned char>(shape[i]))
            return {};
    }
    std::string iso = dateKind.substr(0, 19);
    iso[10] = 'T';
    iso[13] = ':';
    iso[16] = ':';
    return iso;
}

std::string FormatDiveCsv(const CDiveLog& log)
{
    // A partial log says so before its title row, so it is never taken for a whole dive.
    std::string out = log.partial ? "# " + PartialLogNote(log) + "\r\n" : std::string();
    out += "time_s,depth_m,temperature_c,dil_bar,o2_bar\r\n";
    appendCsvRows(out, log, {});
    return out;
}

std::string FormatDivesCsv(const std::vector<ExportDive>& dives)
{
    std::string out;
    for (const ExportDive& dive : dives)
        if (dive.log && dive.log->partial)
            out += "# " + detail::textC("%04X ", unsigned(dive.log->info.unitNumber)) + ExportStartUtc(dive) + " " +
                   PartialLogNote(*dive.log) + "\r\n";
    out += "unit,start_utc,time_s,depth_m,temperature_c,dil_bar,o2_bar\r\n";
    for (const ExportDive& dive : dives)
        if (dive.log)
            appendCsvRows(out, *dive.log,
                          detail::textC("%04X,", unsigned(dive.log->info.unitNumber)) + ExportStartUtc(dive) + ",");
    return out;
}

DrawList DrawDiveProfile(const CDiveLog& log, int width, int height, const GraphCurves& curves)
{
    auto graph = std::make_unique<DiveGraph>();
    graph->curves = curves;
    graph->SetData(&log);
    DrawList list = graph->Draw(width, height);
    if (log.partial) {
        DrawOp note;
        note.kind = DrawKind::Text;
        note.colour = graph->textColour;
        note.background = graph->backColour;
        note.points = {{width - 8, 6}};
        note.alignH = AlignH::Right;
        note.text = PartialLogNote(log);
        list.ops.push_back(note);
    }
    return list;
}

std::string FormatDiveSvg(const CDiveLog& log, int width, int height, const GraphCurves& curves)
{
    return RenderSvg(DrawDiveProfile(log, width, height, curves));
}

bool ParseGraphCurves(const std::string& text, GraphCurves& curves)
{
    GraphCurves parsed;
    bool none = false;
    size_t names = 0;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        const std::string name = detail::lowerAscii(text.substr(start, comma - start));
        if (name == "temp")
            parsed.temperature = true;
        else if (name == "o2")
            parsed.o2 = true;
        else if (name == "dil")
            parsed.dil = true;
        else if (name == "none")
            none = true;
        else
            return false;
        ++names;
        start = comma + 1;
    }
    // "none" stands alone.
    if (none && names > 1)
        return false;
    curves = parsed;
    return true;
}

int ExportDiveFile(const CDiveLog& log, const std::string& startIso, ExportFormat format, const std::string& path,
                   int width, int height, std::string* reason, const GraphCurves& curves)
{
    std::string content;
    switch (format) {
    case ExportFormat::Uddf: content = FormatDiveUddf(log, startIso); break;
    case ExportFormat::Csv: content = FormatDiveCsv(log); break;
    case ExportFormat::Svg: content = FormatDiveSvg(log, width, height, curves); break;
    case ExportFormat::Png:
    case ExportFormat::Pdf: return -2;
    }
    return WriteFileReplacing(path, content, reason) == 0 ? 0 : -1;
}

}  // namespace ravo
