// The dive profile graph painted by the widget, and the dive view: summary,
// graph, selection of saved logs and export.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QXmlStreamReader>

#include "app/tree_labels.h"
#include "desktop/controls/dive_graph_ctrl.h"
#include "desktop/views/view_dive.h"
#include "divedata/dive_export.h"
#include "support/test_dives.h"
#include "view_fixture.h"

namespace ravo::test {
namespace {

using desktop::CDiveGraphCtrl;
using desktop::CViewDive;

const QColor kBack(30, 30, 94);
const QColor kLine(255, 255, 255);

CDiveLog diveOf(std::vector<CDiveDataRecord> samples, uint32_t unit = 0x1A2B, uint32_t start = 0)
{
    return testDive(unit, start, std::move(samples));
}

// The rows of column x that are painted in `colour`.
std::vector<int> rowsOf(const QImage& image, int x, const QColor& colour)
{
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y)
        if (image.pixelColor(x, y) == colour)
            rows.push_back(y);
    return rows;
}

TEST(DiveGraphCtrl, PaintsBackgroundProfileAndNothingWhiteAboveTheSurface)
{
    CDiveGraphCtrl ctrl;
    ctrl.resize(800, 500);
    // 0 m, 10 m from 60 s, 20 m from 120 s, surfacing at 180 s.
    CDiveLog log = diveOf({{0, KindDepth, 0}, {60, KindDepth, 20}, {120, KindDepth, 40}, {180, KindDepth, 0}});
    ctrl.SetData(&log);
    const QImage image = ctrl.grab().toImage();
    ASSERT_EQ(image.size(), QSize(800, 500));
    EXPECT_EQ(image.pixelColor(0, 0), kBack);
    EXPECT_EQ(image.pixelColor(799, 499), kBack);
    EXPECT_EQ(image.pixelColor(799, 0), kBack);

    // The plot spans x 42..795 for 600 s; the surface is drawn 2 pixels below
    // the frame's top (y 4), the deepest value 2 above its bottom (y 457).
    auto columnAt = [](double seconds) { return int(43 + seconds * 751.0 / 600.0); };
    EXPECT_EQ(rowsOf(image, columnAt(30), kLine), std::vector<int>{4});
    EXPECT_EQ(rowsOf(image, columnAt(90), kLine), std::vector<int>{230});
    EXPECT_EQ(rowsOf(image, columnAt(150), kLine), std::vector<int>{457});
    EXPECT_EQ(rowsOf(image, columnAt(400), kLine), std::vector<int>{4});
    // The descent at 120 s is a vertical run from 10 m down to 20 m.
    bool descent = false;
    for (int x = columnAt(119); x <= columnAt(122); ++x) {
        std::vector<int> rows = rowsOf(image, x, kLine);
        descent = descent || (!rows.empty() && rows.front() <= 231 && rows.back() >= 457 &&
                              int(rows.size()) == rows.back() - rows.front() + 1);
    }
    EXPECT_TRUE(descent);

    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_NE(image.pixelColor(x, y), kLine) << x << "," << y;
}

// The SVG export and the widget paint the same draw list: the corners agree,
// and where the widget drew the profile the SVG has it too (smoothed by the
// SVG renderer, so nearer the line's colour than the background's).
TEST(DiveGraphCtrl, SvgAndPainterAgreeOnTheProfile)
{
    CDiveLog log = diveOf({{0, KindDepth, 0}, {60, KindDepth, 20}, {120, KindDepth, 40}, {180, KindDepth, 0}});
    CDiveGraphCtrl ctrl;
    ctrl.resize(800, 500);
    ctrl.SetData(&log);
    const QImage painted = ctrl.grab().toImage();
    QSvgRenderer svg(QByteArray::fromStdString(FormatDiveSvg(log, 800, 500)));
    ASSERT_TRUE(svg.isValid());
    QImage drawn(800, 500, QImage::Format_RGB32);
    QPainter painter(&drawn);
    svg.render(&painter);
    painter.end();
    auto columnAt = [](double seconds) { return int(43 + seconds * 751.0 / 600.0); };
    EXPECT_EQ(drawn.pixelColor(0, 0), painted.pixelColor(0, 0));
    EXPECT_EQ(drawn.pixelColor(799, 499), painted.pixelColor(799, 499));
    for (auto [x, y] : {std::pair{columnAt(30), 4}, {columnAt(90), 230}, {columnAt(150), 457}, {columnAt(400), 4}}) {
        EXPECT_EQ(painted.pixelColor(x, y), kLine) << x << "," << y;
        EXPECT_GT(drawn.pixelColor(x, y).red(), (255 + kBack.red()) / 2) << x << "," << y;
        EXPECT_LT(drawn.pixelColor(x, y + 3).red(), (255 + kBack.red()) / 2) << x << "," << y + 3;
    }
}

TEST(DiveGraphCtrl, WithoutDepthSamplesThereIsNoLineButTheFrame)
{
    CDiveGraphCtrl ctrl;
    ctrl.resize(400, 300);
    CDiveLog log = diveOf({{100, KindTemperature, 80}});
    ctrl.SetData(&log);
    const QImage image = ctrl.grab().toImage();
    for (int x = 0; x < image.width(); ++x)
        ASSERT_TRUE(rowsOf(image, x, kLine).empty()) << x;
    EXPECT_EQ(image.pixelColor(200, 2), QColor(122, 122, 255));  // the frame's top edge
}

class DiveView : public ::testing::Test {
protected:
    DiveView() : view(fixture.context())
    {
        view.setErrorNotice([this](const QString& text) { notices << text; });
        view.resize(800, 600);
        view.show();
    }

    // Saves `log` in the dive folder and selects it as the tree would.
    void select(const CDiveLog& log)
    {
        CDiveLog copy = log;
        ASSERT_EQ(copy.saveDive(fixture.diveFolder()), 0);
        std::string name = copy.makeFileName(true);
        selectLabels(QString::asprintf("%04X", unsigned(log.info.unitNumber)).toStdString(),
                     name.substr(name.find('_', 6) + 1));
    }
    void selectLabels(const std::string& unit, const std::string& node)
    {
        TreeLabels labels{"Dive log", unit, node};
        view.treeSelection(labels);
    }
    QPushButton* exportButton() const
    {
        for (QPushButton* b : view.findChildren<QPushButton*>())
            if (b->accessibleName() == "Export...")
                return b;
        return nullptr;
    }

    ViewFixture fixture;
    CViewDive view;
    QStringList notices;
};

TEST_F(DiveView, StartsAskingForADiveAndShowsTheSummaryOfTheSelectedOne)
{
    EXPECT_EQ(view.summaryText(), "Select a dive log...");
    ASSERT_NE(exportButton(), nullptr);
    EXPECT_FALSE(exportButton()->isEnabled());

    // 45 min 30 s, 20 m, 18 to 22.5 degrees, diluent 200 to 150, oxygen 150 to 160.
    select(diveOf({{0, KindDepth, 0},
                   {60, KindDepth, 40},
                   {61, KindTemperature, 80},
                   {62, KindTemperature, 90},
                   {63, KindTemperature, 72},
                   {64, KindHpDil, 200},
                   {65, KindHpO2, 150},
                   {2700, KindHpDil, 150},
                   {2710, KindHpO2, 160},
                   {2730, KindDepth, 0}},
                  0x00AB, 4000));
    EXPECT_EQ(view.summaryText(), "Dive info: unit 00AB (records 10)\n"
                                  "Duration 45.5 minute, with maxDepth of 20.0 meter\n"
                                  "Temp min 18.00 \u00B0C max 22.50 \u00B0C\n"
                                  "HP-DIL start 200 bar to stop 150 bar (diff 50 bar)\n"
                                  "HP-O2 start 150 bar to stop 160 bar (diff -10 bar)");
    // A screen reader hears the figures with their caption, one after the other.
    bool named = false;
    for (QLabel* label : view.findChildren<QLabel*>())
        named = named || label->accessibleName() ==
                             "Dive summary Dive info: unit 00AB (records 10); Duration 45.5 minute, with maxDepth "
                             "of 20.0 meter; Temp min 18.00 \u00B0C max 22.50 \u00B0C; HP-DIL start 200 bar to "
                             "stop 150 bar (diff 50 bar); HP-O2 start 150 bar to stop 160 bar (diff -10 bar)";
    EXPECT_TRUE(named);
    EXPECT_TRUE(view.graphCtrl()->graph().hasData);
    EXPECT_TRUE(exportButton()->isEnabled());
    EXPECT_TRUE(notices.isEmpty()) << notices.join("|").toStdString();
}

TEST_F(DiveView, AShortDiveWithoutOtherSamplesShowsTenMinutesAndTheRootClearsIt)
{
    select(diveOf({{0, KindDepth, 6}, {300, KindDepth, 0}}));
    EXPECT_EQ(view.summaryText(), "Dive info: unit 1A2B (records 2)\n"
                                  "Duration 10.0 minute, with maxDepth of 3.0 meter");
    selectLabels("", "");  // the saved "Dive log" root
    EXPECT_EQ(view.summaryText(), "Select a dive log");
    EXPECT_FALSE(view.graphCtrl()->graph().hasData);
    EXPECT_FALSE(exportButton()->isEnabled());
}

TEST_F(DiveView, MissingFilesShowSelectADiveLogAndSaySoOnce)
{
    selectLabels("1A2B", "2012-05-06_14-22-33_O");
    EXPECT_EQ(view.summaryText(), "Select a dive log");
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].startsWith("CDiveHeaderOrangebox::ReadOrangeBoxTxt - Error, can not open file for reading: "))
        << notices[0].toStdString();
    EXPECT_TRUE(notices[0].endsWith("KTL_SN1A2B_2012-05-06_14-22-33_O.txt (the file does not exist)"))
        << notices[0].toStdString();
}

TEST_F(DiveView, TheGraphGrowsWithThePaneAndThePictureStays)
{
    QWidget* picture = view.findChild<QLabel*>();
    ASSERT_NE(picture, nullptr);
    QTest::qWait(0);
    const QPoint picturePlace = picture->pos();
    const QSize small = view.graphCtrl()->size();
    view.resize(1100, 900);
    QTest::qWait(0);
    QApplication::processEvents();
    EXPECT_GT(view.graphCtrl()->width(), small.width());
    EXPECT_GT(view.graphCtrl()->height(), small.height());
    EXPECT_EQ(picture->pos(), picturePlace);
}

TEST_F(DiveView, ExportButtonWritesTheChosenFormat)
{
    select(diveOf({{0, KindDepth, 0}, {60, KindDepth, 30}, {120, KindTemperature, 70}, {600, KindDepth, 0}}, 0x1A2B,
                  1336314153 - 946684800));
    QString written = fixture.home.file("dive.uddf").c_str();
    view.setExportChooser([&](const QString& proposed, QString& path, ExportFormat& format) {
        EXPECT_TRUE(proposed.endsWith("KTL_SN1A2B_2012-05-06_14-22-33_O.uddf")) << proposed.toStdString();
        path = written;
        format = ExportFormat::Uddf;
        return true;
    });
    QTest::mouseClick(exportButton(), Qt::LeftButton);
    QXmlStreamReader xml(QByteArray::fromStdString(readFile(written.toStdString())));
    int waypoints = 0;
    QString datetime;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"waypoint")
            ++waypoints;
        if (xml.isStartElement() && xml.name() == u"datetime")
            datetime = xml.readElementText();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(waypoints, 4);
    EXPECT_EQ(datetime, "2012-05-06T14:22:33Z");

    const QString pdf = fixture.home.file("dive.pdf").c_str();
    ASSERT_TRUE(view.exportTo(pdf, ExportFormat::Pdf));
    EXPECT_EQ(readFile(pdf.toStdString()).rfind("%PDF-", 0), 0u);

    const QString png = fixture.home.file("dive.png").c_str();
    ASSERT_TRUE(view.exportTo(png, ExportFormat::Png));
    QImage image(png);
    EXPECT_EQ(image.size(), QSize(800, 500));
    EXPECT_EQ(image.pixelColor(0, 0), kBack);
    EXPECT_FALSE(view.exportTo(fixture.home.file("no/such/folder/x.csv").c_str(), ExportFormat::Csv));
    EXPECT_EQ(notices.size(), 1);
}

// A log saved before all of it arrived says so under its first line.
TEST_F(DiveView, APartialLogSaysSoInItsSummary)
{
    CDiveLog log = diveOf({{0, KindDepth, 0}, {60, KindDepth, 20}});
    log.info.recordCount = 500;
    log.partial = true;
    select(log);
    EXPECT_EQ(view.summaryText(), "Dive info: unit 1A2B (records 2)\n"
                                  "Partial log: records 2 of 500\n"
                                  "Duration 10.0 minute, with maxDepth of 10.0 meter");
}

}  // namespace
}  // namespace ravo::test
