// UDDF export of several dives: checked against the official UDDF 3.2.3
// schema with xmllint (where the schema sits beside the source tree, in
// ../shared/reference), and read back with Qt's XML reader into the same
// depths and times.
#include <gtest/gtest.h>

#include <QXmlStreamReader>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

#include "divedata/dive_export.h"
#include "divedata/sample_csv.h"
#include "divedata/saved_dive.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace ravo::test {
namespace {

const std::string kSchema = std::string(RAVO_SOURCE_DIR) + "/../shared/reference/uddf_3.2.3.xsd";

std::string findOnPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "";
    for (size_t at = 0; at <= dirs.size();) {
        size_t end = dirs.find(':', at);
        if (end == std::string::npos)
            end = dirs.size();
        const std::filesystem::path candidate = std::filesystem::path(dirs.substr(at, end - at)) / program;
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error))
            return candidate.string();
        at = end + 1;
    }
    return {};
}

// Validates `file` against the schema; skips (with the reason) where the
// schema or xmllint is not there.
#define EXPECT_VALID_UDDF(file)                                                                              \
    do {                                                                                                     \
        if (!std::filesystem::exists(kSchema))                                                               \
            GTEST_SKIP() << "No UDDF schema at " << kSchema << " (a clone without ../shared/reference)";    \
        const std::string xmllint = findOnPath("xmllint");                                                   \
        if (xmllint.empty())                                                                                 \
            GTEST_SKIP() << "xmllint is not installed (scripts/setup.sh installs libxml2-utils)";            \
        ProgramResult check = runProgram(xmllint, {"--noout", "--schema", kSchema, file});                   \
        EXPECT_EQ(check.exitCode, 0) << check.err;                                                           \
    } while (0)

void putHeader(CDiveLog& log, uint8_t mouthpiece)
{
    uint8_t* r = log.header.raw;
    r[0] = r[1] = 0xFF;
    r[8] = 1995 & 0xFF, r[9] = 1995 >> 8;   // oxygen 199.5 bar
    r[10] = 2010 & 0xFF, r[11] = 2010 >> 8;  // diluent 201.0 bar
    r[14] = 47, r[15] = 45;
    r[20] = mouthpiece;
    r[23] = 99;          // assumed FO2 %
    r[32] = 20;          // helium %
    r[33] = 45;          // nitrogen %
    log.header.Parse();
}

CDiveLog diveOf(uint16_t unit, std::vector<CDiveDataRecord> samples)
{
    CDiveLog log;
    log.isDive = true;
    log.info.valid = 1;
    log.info.unitNumber = unit;
    log.samples = std::move(samples);
    log.info.recordCount = uint32_t(log.samples.size());
    return log;
}

// Three dives: two of unit 1A2B that started in the same second (the first
// with its header, the second partial and without), one of unit 00AB whose
// mouthpiece started open.
struct ThreeDives {
    CDiveLog a = diveOf(0x1A2B, {{0, KindDepth, 0},
                                 {10, KindHpO2, 190},
                                 {10, KindHpDil, 200},
                                 {20, KindDepth, 30},
                                 {25, KindTemperature, 72},
                                 {65530, KindDepth, 40},
                                 {4, KindHpDil, 150},
                                 {6, KindDepth, 0}});
    CDiveLog b = diveOf(0x1A2B, {{0, KindDepth, 4}, {30, 77, 9}, {60, KindDepth, 0}});
    CDiveLog c = diveOf(0x00AB, {{0, KindDepth, 2}, {15, KindTemperature, 80}, {30, KindDepth, 6}});
    ThreeDives()
    {
        putHeader(a, 1);
        b.partial = true;
        b.expectedRecords = 9;
        putHeader(c, 0);
    }
    std::vector<ExportDive> list() const
    {
        return {{&a, "2012-05-06T14:22:33", 1}, {&b, "2012-05-06T14:22:33", 2}, {&c, "2013-01-02T03:04:05", 1}};
    }
};

struct Waypoint {
    std::string depth, time, tankRef, tankPressure, temperature, mode;
};

struct DiveRead {
    std::string id, datetime, note, greatestDepth, duration;
    std::vector<std::string> tankLinks;  // ref of every tankdata link
    std::vector<std::string> tankBegin;
    std::vector<Waypoint> waypoints;
};

struct UddfRead {
    bool wellFormed = false;
    std::vector<DiveRead> dives;
    std::vector<std::string> ids, refs;
    std::map<std::string, std::map<std::string, std::string>> mixes;  // id -> element -> text
};

UddfRead readUddf(const std::string& text)
{
    UddfRead out;
    QXmlStreamReader xml(QByteArray::fromStdString(text));
    std::vector<std::string> stack;
    std::string mix;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const std::string name = xml.name().toString().toStdString();
            const std::string id = xml.attributes().value("id").toString().toStdString();
            const std::string ref = xml.attributes().value("ref").toString().toStdString();
            if (!id.empty())
                out.ids.push_back(id);
            if (!ref.empty())
                out.refs.push_back(ref);
            stack.push_back(name);
            if (name == "dive") {
                out.dives.emplace_back();
                out.dives.back().id = id;
            }
            if (name == "mix")
                mix = id;
            else if (name == "waypoint")
                out.dives.back().waypoints.emplace_back();
            else if (name == "link" && stack.size() > 1 && stack[stack.size() - 2] == "tankdata")
                out.dives.back().tankLinks.push_back(ref);
            else if (name == "tankpressure")
                out.dives.back().waypoints.back().tankRef = ref;
            else if (name == "divemode")
                out.dives.back().waypoints.back().mode = xml.attributes().value("type").toString().toStdString();
        } else if (xml.isCharacters() && !xml.isWhitespace() && !stack.empty()) {
            const std::string& name = stack.back();
            const std::string value = xml.text().toString().toStdString();
            auto in = [&](const char* parent) { return std::find(stack.begin(), stack.end(), parent) != stack.end(); };
            if (in("mix")) {
                out.mixes[mix][name] = value;
            } else if (in("waypoint")) {
                Waypoint& w = out.dives.back().waypoints.back();
                if (name == "depth") w.depth = value;
                if (name == "divetime") w.time = value;
                if (name == "tankpressure") w.tankPressure = value;
                if (name == "temperature") w.temperature = value;
            } else if (in("dive")) {
                DiveRead& d = out.dives.back();
                if (name == "datetime") d.datetime = value;
                if (name == "para") d.note = value;
                if (name == "greatestdepth") d.greatestDepth = value;
                if (name == "diveduration") d.duration = value;
                if (name == "tankpressurebegin") d.tankBegin.push_back(value);
            }
        } else if (xml.isEndElement()) {
            stack.pop_back();
        }
    }
    out.wellFormed = !xml.hasError();
    return out;
}

std::vector<std::pair<std::string, std::string>> depthsAndTimes(const DiveRead& dive)
{
    std::vector<std::pair<std::string, std::string>> out;
    for (const Waypoint& w : dive.waypoints)
        out.emplace_back(w.depth, w.time);
    return out;
}

TEST(UddfSchema, ThreeDivesValidateAgainstTheOfficialSchema)
{
    TempDir dir;
    ThreeDives dives;
    writeFile(dir.file("three.uddf"), FormatUddf(dives.list()));
    EXPECT_VALID_UDDF(dir.file("three.uddf"));
}

TEST(UddfSchema, ADocumentWithoutDivesAndASingleDiveValidateToo)
{
    TempDir dir;
    writeFile(dir.file("none.uddf"), FormatUddf({}));
    EXPECT_VALID_UDDF(dir.file("none.uddf"));
    const CDiveLog empty = diveOf(0x1234, {});
    writeFile(dir.file("one.uddf"), FormatDiveUddf(empty, ""));
    EXPECT_VALID_UDDF(dir.file("one.uddf"));
}

TEST(UddfSchema, ReadsBackIntoTheSameDepthsAndTimes)
{
    ThreeDives dives;
    const UddfRead r = readUddf(FormatUddf(dives.list()));
    ASSERT_TRUE(r.wellFormed);
    ASSERT_EQ(r.dives.size(), 3u);
    using Rows = std::vector<std::pair<std::string, std::string>>;
    // The depth last reported, and the time across the 16-bit wrap.
    EXPECT_EQ(depthsAndTimes(r.dives[0]), (Rows{{"0.0", "0"},
                                                {"0.0", "10"},
                                                {"0.0", "10"},
                                                {"15.0", "20"},
                                                {"15.0", "25"},
                                                {"20.0", "65530"},
                                                {"20.0", "65540"},
                                                {"0.0", "65542"}}));
    EXPECT_EQ(depthsAndTimes(r.dives[1]), (Rows{{"2.0", "0"}, {"2.0", "30"}, {"0.0", "60"}}));
    EXPECT_EQ(depthsAndTimes(r.dives[2]), (Rows{{"1.0", "0"}, {"1.0", "15"}, {"3.0", "30"}}));
    EXPECT_EQ(r.dives[0].greatestDepth, "20.0");
    EXPECT_EQ(r.dives[0].duration, "65542");
    EXPECT_EQ(r.dives[0].waypoints[1].tankRef, "tank_o2_1A2B");
    EXPECT_EQ(r.dives[0].waypoints[1].tankPressure, "19000000");
    EXPECT_EQ(r.dives[0].waypoints[2].tankRef, "tank_dil_1A2B");
    EXPECT_EQ(r.dives[0].waypoints[4].temperature, "291.15");
}

TEST(UddfSchema, EachDiveHasAUniqueIdItsUtcStartAndPartialMark)
{
    ThreeDives dives;
    const UddfRead r = readUddf(FormatUddf(dives.list()));
    ASSERT_EQ(r.dives.size(), 3u);
    EXPECT_EQ(r.dives[0].id, "dive_1A2B_20120506T142233");
    EXPECT_EQ(r.dives[1].id, "dive_1A2B_20120506T142233_2");
    EXPECT_EQ(r.dives[2].id, "dive_00AB_20130102T030405");
    EXPECT_EQ(r.dives[0].datetime, "2012-05-06T14:22:33Z");
    EXPECT_EQ(r.dives[2].datetime, "2013-01-02T03:04:05Z");
    EXPECT_EQ(r.dives[1].note, "Partial log: records 3 of 9");
    EXPECT_EQ(r.dives[0].note, "");
    const std::set<std::string> ids(r.ids.begin(), r.ids.end());
    EXPECT_EQ(ids.size(), r.ids.size()) << "every id once";
    for (const std::string& ref : r.refs)
        EXPECT_TRUE(ids.count(ref)) << ref << " refers to nothing";

    // The same dive given twice still gets two ids.
    const std::vector<ExportDive> twice = {{&dives.a, "2012-05-06T14:22:33", 1}, {&dives.a, "2012-05-06T14:22:33", 1}};
    const UddfRead again = readUddf(FormatUddf(twice));
    ASSERT_EQ(again.dives.size(), 2u);
    EXPECT_NE(again.dives[0].id, again.dives[1].id);
}

TEST(UddfSchema, GasesTanksAndDiveModeFromTheHeaderWhereItSaysSo)
{
    ThreeDives dives;
    const UddfRead r = readUddf(FormatUddf(dives.list()));
    ASSERT_EQ(r.dives.size(), 3u);
    EXPECT_EQ(r.mixes.at("mix_o2_99").at("o2"), "0.99");
    EXPECT_EQ(r.mixes.at("mix_dil_35_20").at("o2"), "0.35");
    EXPECT_EQ(r.mixes.at("mix_dil_35_20").at("he"), "0.20");
    EXPECT_EQ(r.mixes.at("mix_dil_35_20").at("n2"), "0.45");
    // The partial dive's header was not saved: its gases are named, not mixed.
    EXPECT_EQ(r.mixes.at("mix_o2").at("name"), "Oxygen");
    EXPECT_EQ(r.mixes.at("mix_o2").count("o2"), 0u);
    EXPECT_EQ(r.mixes.at("mix_dil").at("name"), "Diluent");

    EXPECT_EQ(r.dives[0].tankLinks,
              (std::vector<std::string>{"mix_o2_99", "tank_o2_1A2B", "mix_dil_35_20", "tank_dil_1A2B"}));
    // Begin pressures from the header (199.5 and 201.0 bar), not the first samples.
    EXPECT_EQ(r.dives[0].tankBegin, (std::vector<std::string>{"19950000", "20100000"}));
    // No header and no pressure samples: nothing to say of the cylinders.
    EXPECT_TRUE(r.dives[1].tankLinks.empty());
    // Header pressures without samples still give the tank data.
    EXPECT_EQ(r.dives[2].tankLinks,
              (std::vector<std::string>{"mix_o2_99", "tank_o2_00AB", "mix_dil_35_20", "tank_dil_00AB"}));

    EXPECT_EQ(r.dives[0].waypoints[0].mode, "closedcircuit");
    EXPECT_EQ(r.dives[0].waypoints[1].mode, "");
    EXPECT_EQ(r.dives[1].waypoints[0].mode, "closedcircuit");
    EXPECT_EQ(r.dives[2].waypoints[0].mode, "opencircuit");
}

// The done-when check end to end: three dives downloaded from the simulated
// unit, exported by ravo-cli as one selection, valid and read back into the
// depths and times of their saved sample files.
TEST(UddfSchemaCli, ThreeDownloadedDivesExportToOneValidFile)
{
    TempDir home;
    ProgramResult download = runCliIn(home, {"--link", "sim:sinking-cell", "--unit", "1234", "dives", "--new"});
    ASSERT_EQ(download.exitCode, 0) << download.err;
    const std::vector<SavedDiveRef> saved = ListSavedDives(home.file("dive"));
    ASSERT_EQ(saved.size(), 5u);
    std::vector<std::string> args = {"export", "1234"};
    for (size_t i = 1; i < 4; ++i)
        args.push_back(saved[i].stamp);
    for (const char* a : {"--format", "uddf", "--out"})
        args.push_back(a);
    args.push_back(home.file("three.uddf"));
    ProgramResult exported = runCliIn(home, args);
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_NE(exported.err.find("3 dives"), std::string::npos) << exported.err;
    EXPECT_VALID_UDDF(home.file("three.uddf"));

    const UddfRead r = readUddf(readFile(home.file("three.uddf")));
    ASSERT_TRUE(r.wellFormed);
    ASSERT_EQ(r.dives.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        std::vector<CDiveDataRecord> samples;
        ASSERT_EQ(ReadSamplesCsv(home.file("dive/KTL_SN1234_" + saved[i + 1].stamp + ".csv"), samples), 0);
        ASSERT_EQ(r.dives[i].waypoints.size(), samples.size());
        double depth = 0.0;
        for (size_t k = 0; k < samples.size(); ++k) {
            if (samples[k].kind == KindDepth)
                depth = samples[k].value * 0.5;
            ASSERT_DOUBLE_EQ(std::stod(r.dives[i].waypoints[k].depth), depth) << "dive " << i << " waypoint " << k;
            ASSERT_EQ(std::stoul(r.dives[i].waypoints[k].time), samples[k].time) << "dive " << i << " waypoint " << k;
        }
        EXPECT_EQ(r.dives[i].datetime, StartTimeFromDateKind(saved[i + 1].stamp) + "Z");
    }
}

TEST(UddfSchemaCli, AllDivesOfAUnitAndOfTheFolderAsUddfAndCsv)
{
    TempDir home;
    ASSERT_EQ(runCliIn(home, {"--link", "sim:sinking-cell", "--unit", "1234", "dives", "--new"}).exitCode, 0);
    ProgramResult all = runCliIn(home, {"export", "--all", "--format", "uddf", "--out", home.file("all.uddf")});
    ASSERT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(readUddf(readFile(home.file("all.uddf"))).dives.size(), 5u);
    EXPECT_VALID_UDDF(home.file("all.uddf"));

    ProgramResult unit =
        runCliIn(home, {"export", "--all", "--unit", "1234", "--format", "csv", "--out", home.file("all.csv")});
    ASSERT_EQ(unit.exitCode, 0) << unit.err;
    const std::vector<std::string> rows = splitLines(readFile(home.file("all.csv")));
    ASSERT_EQ(rows.size(), 1u + 5 * 300);
    EXPECT_EQ(rows[0], "unit,start_utc,time_s,depth_m,temperature_c,dil_bar,o2_bar\r");
    EXPECT_EQ(rows[1].rfind("1234,", 0), 0u) << rows[1];

    ProgramResult none =
        runCliIn(home, {"export", "--all", "--unit", "0AB1", "--format", "uddf", "--out", home.file("x.uddf")});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_NE(none.err.find("No saved dives of unit 0AB1"), std::string::npos) << none.err;
    EXPECT_FALSE(std::filesystem::exists(home.file("x.uddf")));

    EXPECT_EQ(runCliIn(home, {"export", "--all", "1234", "--format", "uddf", "--out", home.file("x.uddf")}).exitCode, 2);
    EXPECT_EQ(runCliIn(home, {"export", "--unit", "1234", "--format", "uddf", "--out", home.file("x.uddf")}).exitCode, 2);
    EXPECT_EQ(runCliIn(home, {"export", "--all", "--format", "svg", "--out", home.file("x.svg")}).exitCode, 2);
}

}  // namespace
}  // namespace ravo::test
