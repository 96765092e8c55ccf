#include "divedata/dive_export.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include "divedata/detail/text_format_p.h"
#include "divedata/dive_graph.h"
#include "divedata/sample_clock.h"
#include "divedata/saved_logs.h"
#include "divedata/text_file.h"
#include "link/unit_time.h"
#include "divedata/xml_writer.h"
#include "ravo_version.h"

namespace ravo {
namespace {

constexpr double kKelvinOffset = 273.15;
constexpr double kPascalPerBar = 100000.0;

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// "2012-05-06 14:22:33" as "2012-05-06T14:22:33".
std::string isoOf(uint32_t unitTime)
{
    std::string text = FormatUnitTime(unitTime);
    text[10] = 'T';
    return text;
}

struct TankSpan {
    bool seen = false;
    int start = 0, stop = 0;
    void take(int bar)
    {
        if (!seen)
            start = bar;
        seen = true;
        stop = bar;
    }
};

void writeTank(XmlWriter& xml, const char* id, const TankSpan& tank)
{
    if (!tank.seen)
        return;
    xml.open("tankdata", {{"id", id}});
    xml.leaf("tankpressurebegin", detail::textC("%.0f", tank.start * kPascalPerBar));
    xml.leaf("tankpressureend", detail::textC("%.0f", tank.stop * kPascalPerBar));
    xml.close();
}

void writeWaypoints(XmlWriter& xml, const CDiveLog& log)
{
    SampleClock clock;
    double depth = 0.0;
    xml.open("samples");
    for (const CDiveDataRecord& sample : log.samples) {
        uint64_t seconds = clock.next(sample.time);
        if (sample.kind == KindDepth)
            depth = depthMetres(sample.value);
        xml.open("waypoint");
        xml.leaf("depth", detail::textC("%.1f", depth));
        xml.leaf("divetime", detail::textC("%llu", static_cast<unsigned long long>(seconds)));
        if (sample.kind == KindTemperature)
            xml.leaf("temperature", detail::textC("%.2f", temperatureDegrees(sample.value) + kKelvinOffset));
        if (sample.kind == KindHpDil || sample.kind == KindHpO2)
            xml.leaf("tankpressure", detail::textC("%.0f", sample.value * kPascalPerBar),
                     {{"ref", sample.kind == KindHpDil ? "tank_dil" : "tank_o2"}});
        xml.close();
    }
    xml.close();
}

}  // namespace

std::string PartialLogNote(const CDiveLog& log)
{
    return "Partial log: " + RecordsOfText(uint32_t(log.samples.size()), log.expectedRecords);
}

bool ParseExportFormat(const std::string& text, ExportFormat& format)
{
    const std::string name = lower(text);
    for (ExportFormat f : {ExportFormat::Uddf, ExportFormat::Csv, ExportFormat::Svg, ExportFormat::Png})
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

std::string FormatDiveUddf(const CDiveLog& log, const std::string& startIso)
{
    SampleClock clock;
    uint64_t duration = 0;
    double greatestDepth = 0.0;
    TankSpan dil, o2;
    for (const CDiveDataRecord& sample : log.samples) {
        duration = std::max(duration, clock.next(sample.time));
        if (sample.kind == KindDepth)
            greatestDepth = std::max(greatestDepth, depthMetres(sample.value));
        else if (sample.kind == KindHpDil)
            dil.take(sample.value);
        else if (sample.kind == KindHpO2)
            o2.take(sample.value);
    }
    const std::string unit = detail::textC("%04X", unsigned(log.info.unitNumber));

    XmlWriter xml;
    xml.open("uddf", {{"xmlns", "http://www.streit.cc/uddf/3.2/"}, {"version", "3.2.0"}});
    xml.open("generator");
    xml.leaf("name", "Ravo_Config");
    xml.leaf("type", "converter");
    xml.leaf("version", RAVO_VERSION);
    xml.close();
    xml.open("diver");
    xml.open("owner", {{"id", "owner"}});
    xml.open("equipment");
    xml.open("divecomputer", {{"id", "ravo_" + unit}});
    xml.leaf("name", "Ravo");
    xml.leaf("serialnumber", unit);
    xml.close();
    xml.close();
    xml.close();
    xml.close();
    xml.open("profiledata");
    xml.open("repetitiongroup", {{"id", "repetition_1"}});
    xml.open("dive", {{"id", "dive_" + unit}});
    xml.open("informationbeforedive");
    xml.leaf("datetime", startIso.empty() ? isoOf(log.info.startTime) : startIso);
    xml.close();
    writeTank(xml, "tank_dil", dil);
    writeTank(xml, "tank_o2", o2);
    writeWaypoints(xml, log);
    xml.open("informationafterdive");
    xml.leaf("greatestdepth", detail::textC("%.1f", greatestDepth));
    xml.leaf("diveduration", detail::textC("%llu", static_cast<unsigned long long>(duration)));
    if (log.partial) {
        xml.open("notes");
        xml.leaf("para", PartialLogNote(log));
        xml.close();
    }
    xml.close();
    return xml.finish();
}

std::string FormatDiveCsv(const CDiveLog& log)
{
    // A partial log says so before its title row, so it is never taken for a whole dive.
    std::string out = log.partial ? "# " + PartialLogNote(log) + "\r\n" : std::string();
    out += "time_s,depth_m,temperature_c,dil_bar,o2_bar\r\n";
    out.reserve(out.size() + log.samples.size() * 16);
    SampleClock clock;
    for (const CDiveDataRecord& sample : log.samples) {
        const unsigned long long seconds = clock.next(sample.time);
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
        const std::string name = lower(text.substr(start, comma - start));
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
    case ExportFormat::Png: return -2;
    }
    return WriteFileReplacing(path, content, reason) == 0 ? 0 : -1;
}

}  // namespace ravo
