#include "divedata/uddf_export.h"

#include <algorithm>
#include <map>
#include <set>

#include "divedata/detail/text_format_p.h"
#include "divedata/dive_export.h"
#include "divedata/sample_clock.h"
#include "divedata/xml_writer.h"
#include "link/unit_time.h"
#include "ravo_version.h"

namespace ravo {
namespace {

constexpr double kKelvinOffset = 273.15;
constexpr double kPascalPerBar = 100000.0;

std::string unitText(const CDiveLog& log) { return detail::textC("%04X", unsigned(log.info.unitNumber)); }

// The ids of one dive's gases and cylinders. Ids are XML names: letters,
// digits and "_" only, never starting with a digit.
std::string oxygenMixId(const DiveGases& g)
{
    return g.oxygenKnown ? detail::textC("mix_o2_%d", g.oxygenPercent) : "mix_o2";
}

std::string diluentMixId(const DiveGases& g)
{
    return g.diluentKnown ? detail::textC("mix_dil_%d_%d", g.diluentO2Percent, g.diluentHePercent) : "mix_dil";
}

std::string tankId(const char* gas, const std::string& unit) { return std::string("tank_") + gas + "_" + unit; }

std::string computerId(const std::string& unit) { return "ravo_" + unit; }

std::string fraction(int percent) { return detail::textC("%.2f", percent / 100.0); }

// What one pass over the samples finds.
struct SampleFigures {
    uint64_t duration = 0;
    double greatestDepth = 0.0;
    bool hasTemp = false;
    double lowestTemp = 0.0;
    bool hasO2 = false, hasDil = false;
    int o2First = 0, o2Last = 0, dilFirst = 0, dilLast = 0;
};

SampleFigures figuresOf(const CDiveLog& log)
{
    SampleFigures f;
    SampleClock clock;
    for (const CDiveDataRecord& s : log.samples) {
        f.duration = std::max(f.duration, clock.next(s.time));
        switch (s.kind) {
        case KindDepth: f.greatestDepth = std::max(f.greatestDepth, depthMetres(s.value)); break;
        case KindTemperature:
            f.lowestTemp = f.hasTemp ? std::min(f.lowestTemp, temperatureDegrees(s.value)) : temperatureDegrees(s.value);
            f.hasTemp = true;
            break;
        case KindHpO2:
            f.o2First = f.hasO2 ? f.o2First : s.value;
            f.o2Last = s.value;
            f.hasO2 = true;
            break;
        case KindHpDil:
            f.dilFirst = f.hasDil ? f.dilFirst : s.value;
            f.dilLast = s.value;
            f.hasDil = true;
            break;
        default: break;
        }
    }
    return f;
}

void writeMix(XmlWriter& xml, const std::string& id, const std::string& name, const std::vector<std::pair<const char*, int>>& parts)
{
    xml.open("mix", {{"id", id}});
    xml.leaf("name", name);
    for (const auto& [gas, percent] : parts)
        xml.leaf(gas, fraction(percent));
    xml.close();
}

void writeGasDefinitions(XmlWriter& xml, const std::vector<ExportDive>& dives)
{
    std::set<std::string> written;
    xml.open("gasdefinitions");
    for (const ExportDive& dive : dives) {
        const DiveGases g = GasesOfHeader(dive.log->header);
        if (written.insert(oxygenMixId(g)).second) {
            if (g.oxygenKnown)
                writeMix(xml, oxygenMixId(g), detail::textC("Oxygen %d%%", g.oxygenPercent), {{"o2", g.oxygenPercent}});
            else
                writeMix(xml, oxygenMixId(g), "Oxygen", {});
        }
        if (written.insert(diluentMixId(g)).second) {
            if (g.diluentKnown)
                writeMix(xml, diluentMixId(g),
                         detail::textC("Diluent %d/%d", g.diluentO2Percent, g.diluentHePercent),
                         {{"o2", g.diluentO2Percent}, {"n2", g.diluentN2Percent}, {"he", g.diluentHePercent}});
            else
                writeMix(xml, diluentMixId(g), "Diluent", {});
        }
    }
    xml.close();
}

void writeOwner(XmlWriter& xml, const std::vector<ExportDive>& dives)
{
    std::set<std::string> units;
    for (const ExportDive& dive : dives)
        units.insert(unitText(*dive.log));
    xml.open("diver");
    xml.open("owner", {{"id", "owner"}});
    // The diver is not known to the unit; the names stay empty.
    xml.open("personal");
    xml.leaf("firstname", "");
    xml.leaf("lastname", "");
    xml.close();
    xml.open("equipment");
    for (const std::string& unit : units) {
        xml.open("divecomputer", {{"id", computerId(unit)}});
        xml.leaf("name", "Ravo " + unit);
        xml.leaf("model", "Ravo");
        xml.leaf("serialnumber", unit);
        xml.close();
    }
    for (const std::string& unit : units) {
        for (const char* gas : {"o2", "dil"}) {
            xml.open("tank", {{"id", tankId(gas, unit)}});
            xml.leaf("name", std::string(gas[0] == 'o' ? "Oxygen cylinder " : "Diluent cylinder ") + unit);
            xml.close();
        }
    }
    xml.close();
    xml.close();
    xml.close();
}

// Tank data needs a begin pressure: the header's where it holds one, else
// the first pressure sample; without either the cylinder is left out.
void writeTankData(XmlWriter& xml, const std::string& mix, const std::string& tank, bool headerKnown,
                   uint16_t headerDeciBar, bool sampled, int firstBar, int lastBar)
{
    const bool fromHeader = headerKnown && headerDeciBar > 0;
    if (!fromHeader && !sampled)
        return;
    const double begin = fromHeader ? headerDeciBar * 0.1 : firstBar;
    xml.open("tankdata");
    xml.leaf("link", "", {{"ref", mix}});
    xml.leaf("link", "", {{"ref", tank}});
    xml.leaf("tankpressurebegin", detail::textC("%.0f", begin * kPascalPerBar));
    if (sampled)
        xml.leaf("tankpressureend", detail::textC("%.0f", lastBar * kPascalPerBar));
    xml.close();
}

const char* diveModeOf(const CDiveLog& log)
{
    return HeaderBytesKnown(log.header) && log.header.mouthpiece == 0 ? "opencircuit" : "closedcircuit";
}

void writeWaypoints(XmlWriter& xml, const CDiveLog& log, const std::string& unit)
{
    if (log.samples.empty())
        return;
    SampleClock clock;
    double depth = 0.0;
    bool first = true;
    xml.open("samples");
    for (const CDiveDataRecord& sample : log.samples) {
        const uint64_t seconds = clock.next(sample.time);
        if (sample.kind == KindDepth)
            depth = depthMetres(sample.value);
        // The schema's order: depth, divetime, tankpressure, temperature, divemode.
        xml.open("waypoint");
        xml.leaf("depth", detail::textC("%.1f", depth));
        xml.leaf("divetime", detail::textC("%llu", static_cast<unsigned long long>(seconds)));
        if (sample.kind == KindHpDil || sample.kind == KindHpO2)
            xml.leaf("tankpressure", detail::textC("%.0f", sample.value * kPascalPerBar),
                     {{"ref", tankId(sample.kind == KindHpDil ? "dil" : "o2", unit)}});
        if (sample.kind == KindTemperature)
            xml.leaf("temperature", detail::textC("%.2f", temperatureDegrees(sample.value) + kKelvinOffset));
        if (first)
            xml.leaf("divemode", "", {{"type", diveModeOf(log)}});
        first = false;
        xml.close();
    }
    xml.close();
}

// "dive_1A2B_20120506T142233" (slot 2: "..._2"), made unique within the file.
std::string diveId(const ExportDive& dive, std::set<std::string>& taken)
{
    std::string id = "dive_" + unitText(*dive.log) + "_";
    for (char c : ExportStartUtc(dive))
        if ((c >= '0' && c <= '9') || c == 'T')
            id += c;
    if (dive.slot > 1)
        id += detail::textC("_%d", dive.slot);
    std::string unique = id;
    for (int n = 2; !taken.insert(unique).second; ++n)
        unique = id + detail::textC("_n%d", n);
    return unique;
}

void writeDive(XmlWriter& xml, const ExportDive& dive, std::set<std::string>& ids)
{
    const CDiveLog& log = *dive.log;
    const std::string unit = unitText(log);
    const std::string id = diveId(dive, ids);
    const SampleFigures f = figuresOf(log);
    const DiveGases gases = GasesOfHeader(log.header);
    const bool headerKnown = HeaderBytesKnown(log.header);

    xml.open("repetitiongroup", {{"id", "group_" + id}});
    xml.open("dive", {{"id", id}});
    xml.open("informationbeforedive");
    xml.leaf("datetime", ExportStartUtc(dive));
    xml.open("equipmentused");
    xml.leaf("link", "", {{"ref", computerId(unit)}});
    xml.close();
    xml.leaf("apparatus", "rebreather");
    xml.close();
    writeTankData(xml, oxygenMixId(gases), tankId("o2", unit), headerKnown, log.header.o2Pressure, f.hasO2,
                  f.o2First, f.o2Last);
    writeTankData(xml, diluentMixId(gases), tankId("dil", unit), headerKnown, log.header.dilPressure, f.hasDil,
                  f.dilFirst, f.dilLast);
    writeWaypoints(xml, log, unit);
    xml.open("informationafterdive");
    xml.leaf("greatestdepth", detail::textC("%.1f", f.greatestDepth));
    xml.leaf("diveduration", detail::textC("%llu", static_cast<unsigned long long>(f.duration)));
    if (f.hasTemp)
        xml.leaf("lowesttemperature", detail::textC("%.2f", f.lowestTemp + kKelvinOffset));
    if (log.partial) {
        xml.open("notes");
        xml.leaf("para", PartialLogNote(log));
        xml.close();
    }
    xml.close();
    xml.close();
    xml.close();
}

}  // namespace

std::string ExportStartUtc(const ExportDive& dive)
{
    std::string iso = dive.startIso;
    if (iso.empty()) {
        iso = FormatUnitTime(dive.log ? dive.log->info.startTime : 0);
        iso[10] = 'T';
    }
    return iso + "Z";
}

bool HeaderBytesKnown(const CDiveHeaderOrangebox& header)
{
    return std::any_of(std::begin(header.raw), std::end(header.raw), [](uint8_t b) { return b != 0; });
}

DiveGases GasesOfHeader(const CDiveHeaderOrangebox& header)
{
    DiveGases g;
    if (!HeaderBytesKnown(header))
        return g;
    if (header.assumedFO2 >= 1 && header.assumedFO2 <= 100) {
        g.oxygenKnown = true;
        g.oxygenPercent = header.assumedFO2;
    }
    const int inert = header.heliumPercent + header.nitrogenPercent;
    if (inert >= 1 && inert <= 100) {
        g.diluentKnown = true;
        g.diluentHePercent = header.heliumPercent;
        g.diluentN2Percent = header.nitrogenPercent;
        g.diluentO2Percent = 100 - inert;
    }
    return g;
}

std::string FormatUddf(const std::vector<ExportDive>& given)
{
    std::vector<ExportDive> dives;
    for (const ExportDive& dive : given)
        if (dive.log)
            dives.push_back(dive);

    XmlWriter xml;
    xml.open("uddf", {{"xmlns", "http://www.streit.cc/uddf/3.2/"}, {"version", "3.2.3"}});
    xml.open("generator");
    xml.leaf("name", "Ravo_Config");
    xml.leaf("type", "converter");
    xml.leaf("version", RAVO_VERSION);
    xml.close();
    if (!dives.empty()) {
        writeOwner(xml, dives);
        writeGasDefinitions(xml, dives);
        std::set<std::string> ids;
        xml.open("profiledata");
        for (const ExportDive& dive : dives)
            writeDive(xml, dive, ids);
        xml.close();
    }
    return xml.finish();
}

std::string FormatDiveUddf(const CDiveLog& log, const std::string& startIso)
{
    return FormatUddf({ExportDive{&log, startIso, 1}});
}

}  // namespace ravo
