// Dive export: UDDF read back by a real XML parser, CSV by its columns and
// rows, and ravo-cli export against a dive downloaded from the simulated unit.
#include <gtest/gtest.h>

#include <QString>
#include <QXmlStreamReader>
#include <filesystem>
#include <map>

#include "divedata/dive_export.h"
#include "divedata/sample_csv.h"
#include "divedata/saved_dives_export.h"
#include "support/test_dives.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace ravo::test {
namespace {

CDiveLog diveOf(std::vector<CDiveDataRecord> samples)
{
    CDiveLog log;
    log.info.valid = 1;
    log.info.unitNumber = 0x1A2B;
    log.isDive = true;
    log.samples = std::move(samples);
    log.info.recordCount = uint32_t(log.samples.size());
    return log;
}

// The parts of a UDDF document the tests look at.
struct UddfRead {
    bool wellFormed = false;
    QString rootName, version, namespaceUri;
    QStringList path;  // element path of the first waypoint, root first
    QString datetime, greatestDepth, duration;
    struct Waypoint {
        QString depth, divetime, temperature, tankpressure, tankRef;
    };
    std::vector<Waypoint> waypoints;
    QStringList tankLinks;  // the refs of the tank data's links
};

UddfRead readUddf(const std::string& text)
{
    UddfRead out;
    QXmlStreamReader xml(QByteArray::fromStdString(text));
    QStringList stack;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QString name = xml.name().toString();
            if (stack.isEmpty()) {
                out.rootName = name;
                out.version = xml.attributes().value("version").toString();
                out.namespaceUri = xml.namespaceUri().toString();
            }
            stack << name;
            if (name == "waypoint") {
                if (out.waypoints.empty())
                    out.path = stack;
                out.waypoints.emplace_back();
            } else if (name == "link" && stack.size() > 1 && stack[stack.size() - 2] == "tankdata") {
                out.tankLinks << xml.attributes().value("ref").toString();
            } else if (name == "tankpressure") {
                out.waypoints.back().tankRef = xml.attributes().value("ref").toString();
            }
        } else if (xml.isCharacters() && !xml.isWhitespace() && !stack.isEmpty()) {
            const QString& name = stack.last();
            const QString text = xml.text().toString();
            if (stack.contains("waypoint")) {
                auto& w = out.waypoints.back();
                (name == "depth" ? w.depth : name == "divetime" ? w.divetime : name == "temperature" ? w.temperature
                                                                                                      : w.tankpressure) =
                    text;
            } else if (name == "datetime" && stack.contains("informationbeforedive")) {
                out.datetime = text;
            } else if (name == "greatestdepth") {
                out.greatestDepth = text;
            } else if (name == "diveduration") {
                out.duration = text;
            }
        } else if (xml.isEndElement()) {
            stack.removeLast();
        }
    }
    out.wellFormed = !xml.hasError();
    return out;
}

TEST(DiveExport, UddfIsWellFormedWithOneWaypointPerRecordInSiUnits)
{
    // 20 m at 60 s, 22.5 degrees, diluent 200 then 150 bar, an uninterpreted
    // kind, and a wrap of the 16-bit time.
    CDiveLog log = diveOf({{0, KindDepth, 0},
                           {60, KindDepth, 40},
                           {61, KindTemperature, 90},
                           {62, KindHpDil, 200},
                           {63, KindHpO2, 180},
                           {64, 77, 5},
                           {65530, KindHpDil, 150},
                           {3, KindDepth, 0}});
    UddfRead r = readUddf(FormatDiveUddf(log, "2012-05-06T14:22:33"));
    ASSERT_TRUE(r.wellFormed);
    EXPECT_EQ(r.rootName, "uddf");
    EXPECT_EQ(r.version, "3.2.3");
    EXPECT_EQ(r.namespaceUri, "http://www.streit.cc/uddf/3.2/");
    EXPECT_EQ(r.path, (QStringList{"uddf", "profiledata", "repetitiongroup", "dive", "samples", "waypoint"}));
    EXPECT_EQ(r.datetime, "2012-05-06T14:22:33Z");
    EXPECT_EQ(r.greatestDepth, "20.0");
    EXPECT_EQ(r.duration, "65539");
    ASSERT_EQ(r.waypoints.size(), log.samples.size());
    EXPECT_EQ(r.waypoints[1].depth, "20.0");
    EXPECT_EQ(r.waypoints[1].divetime, "60");
    EXPECT_EQ(r.waypoints[2].temperature, "295.65");
    EXPECT_EQ(r.waypoints[2].depth, "20.0");  // the depth last reported
    EXPECT_EQ(r.waypoints[3].tankpressure, "20000000");
    EXPECT_EQ(r.waypoints[3].tankRef, "tank_dil_1A2B");
    EXPECT_EQ(r.waypoints[4].tankRef, "tank_o2_1A2B");
    EXPECT_TRUE(r.waypoints[5].temperature.isEmpty() && r.waypoints[5].tankpressure.isEmpty());
    EXPECT_EQ(r.waypoints[7].divetime, "65539");
    EXPECT_EQ(r.tankLinks, (QStringList{"mix_o2", "tank_o2_1A2B", "mix_dil", "tank_dil_1A2B"}));
}

TEST(DiveExport, UddfOfAnEmptyLogAndTheLogsOwnStartTime)
{
    CDiveLog log = diveOf({});
    log.info.startTime = 0;
    UddfRead r = readUddf(FormatDiveUddf(log, ""));
    ASSERT_TRUE(r.wellFormed);
    EXPECT_EQ(r.datetime, "2000-01-01T00:00:00Z");
    EXPECT_TRUE(r.waypoints.empty());
    EXPECT_TRUE(r.tankLinks.isEmpty());
}

TEST(DiveExport, CsvHasTheTitleRowAndOneRowPerRecord)
{
    CDiveLog log = diveOf({{0, KindDepth, 3}, {10, KindTemperature, 81}, {20, KindHpDil, 199}, {30, KindHpO2, 7},
                           {40, 99, 1}});
    std::vector<std::string> rows = splitLines(FormatDiveCsv(log));
    ASSERT_EQ(rows.size(), 1 + log.samples.size());
    EXPECT_EQ(rows[0], "time_s,depth_m,temperature_c,dil_bar,o2_bar\r");
    EXPECT_EQ(rows[1], "0,1.5,,,\r");
    EXPECT_EQ(rows[2], "10,,20.25,,\r");
    EXPECT_EQ(rows[3], "20,,,199,\r");
    EXPECT_EQ(rows[4], "30,,,,7\r");
    EXPECT_EQ(rows[5], "40,,,,\r");
    for (const std::string& row : rows)
        EXPECT_EQ(std::count(row.begin(), row.end(), ','), 4) << row;
}

TEST(DiveExport, FormatsByNameAndStartTimeFromTheLogLabel)
{
    ExportFormat f = ExportFormat::Csv;
    EXPECT_TRUE(ParseExportFormat("UDDF", f));
    EXPECT_EQ(f, ExportFormat::Uddf);
    EXPECT_TRUE(ParseExportFormat("png", f));
    EXPECT_EQ(f, ExportFormat::Png);
    EXPECT_FALSE(ParseExportFormat("xml", f));
    EXPECT_EQ(StartTimeFromDateKind("2012-05-06_14-22-33_O"), "2012-05-06T14:22:33");
    EXPECT_EQ(StartTimeFromDateKind("2012-05-06_14-22"), "");
    EXPECT_EQ(StartTimeFromDateKind("2012-05-06 14-22-33_O"), "");
}

TEST(DiveExport, CurvesByNameAndInThePicture)
{
    GraphCurves curves;
    EXPECT_TRUE(ParseGraphCurves("temp,O2", curves));
    EXPECT_EQ(curves, (GraphCurves{true, true, false}));
    EXPECT_TRUE(ParseGraphCurves("none", curves));
    EXPECT_FALSE(curves.any());
    for (const char* bad : {"", "temp,", "depth", "none,dil", "temp;o2"}) {
        curves = {false, false, true};
        EXPECT_FALSE(ParseGraphCurves(bad, curves)) << bad;
        EXPECT_EQ(curves, (GraphCurves{false, false, true})) << bad;
    }
    // The picture draws the curves asked for, as the window does.
    const CDiveLog log = diveOf({{0, KindDepth, 0}, {0, KindTemperature, 88}, {600, KindDepth, 40},
                                 {600, KindTemperature, 72}, {1200, KindDepth, 0}});
    const std::string plain = FormatDiveSvg(log, 800, 500);
    const std::string withTemp = FormatDiveSvg(log, 800, 500, {true, false, false});
    EXPECT_EQ(plain.find("Temperature ("), std::string::npos);
    EXPECT_NE(withTemp.find("Temperature ("), std::string::npos);
}

TEST(DiveExport, XmlTextIsEscaped)
{
    UddfRead r = readUddf(FormatDiveUddf(diveOf({{0, KindDepth, 1}}), "<&\"'>\x01\xC3\r\n\t"));
    ASSERT_TRUE(r.wellFormed);
    EXPECT_EQ(r.datetime, "<&\"'>??\r\n\tZ");
}

// ravo-cli downloads a dive from the simulated unit, then exports it in each
// format; the UDDF has one waypoint per record of the saved log.
// Several saved dives into one file: a dive that cannot be read stops the
// export before the file is touched, so a file never lacks a dive silently.
TEST(DiveExport, SavedDivesGoIntoOneFileOrNoneAtAll)
{
    TempDir dir;
    const std::string folder = dir.file("dive");
    const uint32_t start = 1336314153 - 946684800;  // 2012-05-06 14:22:33 UTC
    ASSERT_EQ(testDive(0xAB, start, {{0, KindDepth, 0}, {60, KindDepth, 40}}).saveDive(folder), 0);
    ASSERT_EQ(testDive(0xAB, start + 3600, {{0, KindDepth, 0}, {60, KindDepth, 20}}).saveDive(folder), 0);
    const std::vector<SavedDiveRef> both{{"00AB", "2012-05-06_14-22-33_O"}, {"00AB", "2012-05-06_15-22-33_O"}};

    const std::string csv = dir.file("both.csv");
    std::string reason;
    ASSERT_EQ(ExportSavedDives(folder, both, ExportFormat::Csv, csv, &reason), 0) << reason;
    const std::string text = readFile(csv);
    EXPECT_NE(text.find("2012-05-06T14:22:33Z"), std::string::npos);
    EXPECT_NE(text.find("2012-05-06T15:22:33Z"), std::string::npos);
    EXPECT_EQ(DivesExportedText(2, "/d/x.csv"), "2 dives exported to /d/x.csv");
    EXPECT_EQ(DivesExportedText(1, "/d/x.csv"), "1 dive exported to /d/x.csv");

    const std::string uddf = dir.file("gap.uddf");
    std::vector<SavedDiveRef> gap = both;
    gap.push_back({"00AB", "2012-05-09_10-00-00_O"});
    EXPECT_EQ(ExportSavedDives(folder, gap, ExportFormat::Uddf, uddf, &reason), -1);
    EXPECT_NE(reason.find("2012-05-09_10-00-00_O"), std::string::npos) << reason;
    EXPECT_FALSE(std::filesystem::exists(uddf));
    EXPECT_EQ(ExportSavedDives(folder, both, ExportFormat::Png, dir.file("x.png")), -2);
}

TEST(DiveExportCli, ExportsADiveDownloadedFromTheSimulatedUnit)
{
    TempDir home;
    ProgramResult dive = runCliIn(home, {"--link", "sim", "--unit", "1234", "dive", "1"});
    ASSERT_EQ(dive.exitCode, 0) << dive.err;
    // The last line is the full path of the sample file: .../KTL_SN1234_<stamp>_O.csv
    std::string csvPath = splitLines(dive.out).back();
    std::string base = csvPath.substr(csvPath.find("KTL_SN1234_"));
    base = base.substr(0, base.size() - std::string(".csv").size());
    const std::string stamp = base.substr(std::string("KTL_SN1234_").size());
    std::vector<CDiveDataRecord> saved;
    ASSERT_EQ(ReadSamplesCsv(home.file("dive/" + base + ".csv"), saved), 0);
    ASSERT_FALSE(saved.empty());

    ProgramResult uddf = runCliIn(home, {"export", "1234", stamp, "--format", "uddf", "--out", home.file("d.uddf")});
    ASSERT_EQ(uddf.exitCode, 0) << uddf.err;
    UddfRead r = readUddf(readFile(home.file("d.uddf")));
    ASSERT_TRUE(r.wellFormed);
    EXPECT_EQ(r.waypoints.size(), saved.size());
    EXPECT_EQ(r.datetime.toStdString(), StartTimeFromDateKind(stamp) + "Z");

    ProgramResult csv = runCliIn(home, {"export", "1234", stamp, "--format", "CSV", "--out", home.file("d.csv")});
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    EXPECT_EQ(splitLines(readFile(home.file("d.csv"))).size(), saved.size() + 1);

    ProgramResult png = runCliIn(home, {"export", "1234", stamp, "--format", "png", "--out", home.file("d.png")},
                                 {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}});
    ASSERT_EQ(png.exitCode, 0) << png.err;
    EXPECT_EQ(readFile(home.file("d.png")).substr(0, 8), "\x89PNG\r\n\x1a\n");

    ProgramResult svg = runCliIn(home, {"export", "1234", stamp, "--format", "svg", "--out", home.file("d.svg")});
    ASSERT_EQ(svg.exitCode, 0) << svg.err;
    EXPECT_NE(readFile(home.file("d.svg")).find("<polyline"), std::string::npos);
    EXPECT_EQ(readFile(home.file("d.svg")).find("Temperature ("), std::string::npos);
    ProgramResult curves = runCliIn(
        home, {"export", "1234", stamp, "--format", "svg", "--curves", "temp,o2,dil", "--out", home.file("c.svg")});
    ASSERT_EQ(curves.exitCode, 0) << curves.err;
    EXPECT_NE(readFile(home.file("c.svg")).find("Temperature ("), std::string::npos);
    ProgramResult badCurves = runCliIn(
        home, {"export", "1234", stamp, "--format", "svg", "--curves", "depth", "--out", home.file("x.svg")});
    EXPECT_EQ(badCurves.exitCode, 2);
}

TEST(DiveExportCli, RefusesAnUnknownFormatAndAMissingDive)
{
    TempDir home;
    ProgramResult bad = runCliIn(home, {"export", "1234", "2012-05-06_14-22-33_O", "--format", "xml", "--out", "x"});
    EXPECT_EQ(bad.exitCode, 2);
    ProgramResult missing =
        runCliIn(home, {"export", "1234", "2012-05-06_14-22-33_O", "--format", "csv", "--out", home.file("x.csv")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("No saved dive 1234 2012-05-06_14-22-33_O"), std::string::npos) << missing.err;
}

}  // namespace
}  // namespace ravo::test
