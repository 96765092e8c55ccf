// The profile graph widget painting whole long dives, zooming from the mouse
// and the keys, the hover readout, and painting at 200 %; the PNG export of
// the command line painting the same.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>
#include <cmath>

#include "desktop/controls/dive_graph_ctrl.h"
#include "desktop/views/view_dive.h"
#include "support/run_program.h"
#include "support/test_dives.h"
#include "view_fixture.h"

namespace ravo::test {
namespace {

using desktop::CDiveGraphCtrl;

const QColor kLine(255, 255, 255);
const QColor kMarker(255, 255, 0);
constexpr uint32_t kMay6 = 1336314153 - 946684800;

// 222 minutes: down to 40 m in 10 minutes, a long bottom, a stop at 6 m
// from 192 minutes, the last minute up to the surface; a depth every 10 s.
CDiveLog longDive(uint32_t seconds = 13320)
{
    std::vector<CDiveDataRecord> samples;
    for (uint32_t s = 0; s <= seconds; s += 10) {
        double depth = s < 600 ? 40.0 * s / 600 : s + 1800 < seconds ? 40.0 : s + 60 < seconds ? 6.0 : 6.0 * (seconds - s) / 60;
        samples.push_back({uint16_t(s), KindDepth, uint8_t(std::lround(depth * 2))});
        if (s % 60 == 0)
            samples.push_back({uint16_t(s), KindTemperature, uint8_t(80 - s / 1200)});
    }
    return testDive(0x1A2B, kMay6, samples);
}

bool hasColourIn(const QImage& image, QRect area, const QColor& colour)
{
    area &= image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

void moveTo(QWidget& widget, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, at, widget.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
}

void wheel(QWidget& widget, QPoint at, int delta)
{
    QWheelEvent event(at, widget.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget, &event);
}

class GraphCtrl : public ::testing::Test {
protected:
    GraphCtrl()
    {
        ctrl.resize(800, 500);
        ctrl.show();
        log = longDive();
        ctrl.SetData(&log);
    }
    DiveGraph::Layout layout() const { return ctrl.graph().layoutFor(800, 500); }
    int columnOf(double seconds) const { return ctrl.graph().xPixel(layout(), ctrl.span(), seconds); }
    int rowOfDepth(double metres) const
    {
        return ctrl.graph().yPixel(-metres, 0.0, ctrl.graph().dataMin, layout().plotHeight);
    }

    CDiveLog log;
    CDiveGraphCtrl ctrl;
};

// The 222-minute dive the three-hour end cut: the stop after 190 minutes and
// the way up are painted, up to the frame's right edge.
TEST_F(GraphCtrl, A222MinuteDiveIsPaintedToTheRightEdge)
{
    const QImage image = ctrl.grab().toImage();
    const DiveGraph::Layout l = layout();
    EXPECT_EQ(image.pixelColor(columnOf(12000), rowOfDepth(6.0)), kLine);
    EXPECT_EQ(image.pixelColor(columnOf(6000), rowOfDepth(40.0)), kLine);
    // The last columns: the climb from the stop, and the surface at the edge.
    EXPECT_TRUE(hasColourIn(image, QRect(l.right - 4, rowOfDepth(6.0) - 1, 4, 3), kLine));
    EXPECT_EQ(image.pixelColor(l.right - 1, 4), kLine);
    EXPECT_NE(image.pixelColor(l.right + 2, 4), kLine);  // and not beyond the frame
}

TEST_F(GraphCtrl, ATenHourDiveIsPaintedWhole)
{
    CDiveLog ten = longDive(36000);
    ctrl.SetData(&ten);
    EXPECT_EQ(ctrl.span(), (TimeSpan{0, 36000}));
    const QImage image = ctrl.grab().toImage();
    EXPECT_EQ(image.pixelColor(columnOf(35000), rowOfDepth(6.0)), kLine);
    EXPECT_EQ(image.pixelColor(layout().right - 1, 4), kLine);
}

TEST_F(GraphCtrl, TheWheelAndADraggedRangeZoomDoubleClickGoesBack)
{
    const int y = 200;
    const double at = ctrl.graph().timeAt(layout(), ctrl.span(), 300);
    wheel(ctrl, QPoint(300, y), 240);  // two notches: twice as close
    EXPECT_TRUE(ctrl.zoomed());
    EXPECT_NEAR(double(ctrl.span().length()), 13320 / 2.0, 1.0);
    // The time under the cursor stays under it.
    EXPECT_NEAR(ctrl.graph().timeAt(layout(), ctrl.span(), 300), at, 20.0);
    wheel(ctrl, QPoint(300, y), -240);
    EXPECT_FALSE(ctrl.zoomed());

    // Drag from 190 to 210 minutes: the stop fills the graph.
    const int from = columnOf(11400), to = columnOf(12600);
    QTest::mousePress(&ctrl, Qt::LeftButton, Qt::NoModifier, QPoint(from, y));
    QTest::mouseMove(&ctrl, QPoint((from + to) / 2, y));
    QTest::mouseRelease(&ctrl, Qt::LeftButton, Qt::NoModifier, QPoint(to, y));
    EXPECT_NEAR(double(ctrl.span().start), 11400, 40);
    EXPECT_NEAR(double(ctrl.span().end), 12600, 40);
    // Zoomed in, the stop is level across the graph.
    const QImage zoomed = ctrl.grab().toImage();
    EXPECT_EQ(zoomed.pixelColor(columnOf(11600), rowOfDepth(6.0)), kLine);
    EXPECT_EQ(zoomed.pixelColor(columnOf(12400), rowOfDepth(6.0)), kLine);

    // A click is no range.
    const TimeSpan before = ctrl.span();
    QTest::mouseClick(&ctrl, Qt::LeftButton, Qt::NoModifier, QPoint(400, y));
    EXPECT_EQ(ctrl.span(), before);
    QTest::mouseDClick(&ctrl, Qt::LeftButton, Qt::NoModifier, QPoint(400, y));
    EXPECT_FALSE(ctrl.zoomed());
}

TEST_F(GraphCtrl, KeysZoomPanAndGoBack)
{
    ctrl.setFocus();
    QTest::keyClick(&ctrl, Qt::Key_Plus);
    EXPECT_EQ(ctrl.span(), (TimeSpan{3330, 9990}));  // half, about the middle
    QTest::keyClick(&ctrl, Qt::Key_Right);
    EXPECT_EQ(ctrl.span(), (TimeSpan{3330 + 1665, 9990 + 1665}));
    QTest::keyClick(&ctrl, Qt::Key_Left);
    QTest::keyClick(&ctrl, Qt::Key_Left);
    EXPECT_EQ(ctrl.span(), (TimeSpan{3330 - 1665, 9990 - 1665}));
    QTest::keyClick(&ctrl, Qt::Key_Minus);
    EXPECT_EQ(ctrl.span(), (TimeSpan{0, 13320}));
    QTest::keyClick(&ctrl, Qt::Key_Plus);
    QTest::keyClick(&ctrl, Qt::Key_Plus);
    QTest::keyClick(&ctrl, Qt::Key_Home);
    EXPECT_FALSE(ctrl.zoomed());
    QTest::keyClick(&ctrl, Qt::Key_Plus);
    QTest::keyClick(&ctrl, Qt::Key_Escape);
    EXPECT_FALSE(ctrl.zoomed());
    EXPECT_EQ(ctrl.accessibleDescription(), "Whole dive, 222 minutes");
}

// The readout at the cursor: its values, a marker on the line, and the ticks
// and readout following the zoom.
TEST_F(GraphCtrl, TheHoverReadoutShowsTheValuesUnderTheCursor)
{
    QStringList readouts;
    QObject::connect(&ctrl, &CDiveGraphCtrl::readoutChanged, [&](const QString& text) { readouts << text; });
    const int x = columnOf(12000);
    moveTo(ctrl, QPoint(x, 300));
    const double t = std::floor(ctrl.graph().timeAt(layout(), ctrl.span(), x));
    const QString expected = QString("Time %1:%2, Depth 6.0 m, Temperature 17.5 \u00B0C")
                                 .arg(int(t) / 60)
                                 .arg(int(t) % 60, 2, 10, QChar('0'));
    EXPECT_EQ(ctrl.readoutText(), expected);
    ASSERT_FALSE(readouts.isEmpty());
    EXPECT_EQ(readouts.back(), expected);
    EXPECT_TRUE(ctrl.accessibleDescription().endsWith(expected)) << ctrl.accessibleDescription().toStdString();
    const QImage image = ctrl.grab().toImage();
    const int markerX = ctrl.graph().xPixel(layout(), ctrl.span(), t);
    EXPECT_EQ(image.pixelColor(markerX + 1, rowOfDepth(6.0) + 1), kMarker);

    // Zoomed in with the cursor kept still, it reads the time now under it.
    QTest::keyClick(&ctrl, Qt::Key_Plus);
    EXPECT_NE(ctrl.readoutText(), expected);
    EXPECT_TRUE(ctrl.readoutText().startsWith("Time "));

    moveTo(ctrl, QPoint(2, 2));  // outside the plot
    EXPECT_TRUE(ctrl.readoutText().isEmpty());
    EXPECT_TRUE(readouts.back().isEmpty());
}

TEST_F(GraphCtrl, PaintsSharpAt200Percent)
{
    const QImage single = ctrl.renderImage(800, 500, 1.0);
    const QImage doubled = ctrl.renderImage(800, 500, 2.0);
    EXPECT_EQ(doubled.size(), QSize(1600, 1000));
    EXPECT_EQ(doubled.devicePixelRatio(), 2.0);
    // The profile where it is at 100 %, in device pixels twice as far.
    const int x = columnOf(6000), y = rowOfDepth(40.0);
    ASSERT_EQ(single.pixelColor(x, y), kLine);
    EXPECT_TRUE(hasColourIn(doubled, QRect(2 * x - 1, 2 * y - 1, 3, 3), kLine));
    // A line is two device pixels thick, with no blur beside it.
    EXPECT_FALSE(hasColourIn(doubled, QRect(2 * x, 2 * y - 4, 1, 2), kLine));
    const QColor beside = doubled.pixelColor(2 * x, 2 * y - 4);
    EXPECT_TRUE(beside == QColor(30, 30, 94) || beside == QColor(122, 122, 255)) << beside.name().toStdString();
}

TEST(DiveViewCurves, SwitchesAreKeptInTheConfigurationAndDrawn)
{
    ViewFixture fixture;
    fixture.app.config.graphO2 = true;
    desktop::CViewDive view(fixture.context());
    view.resize(900, 700);
    view.show();
    auto box = [&](const char* name) -> QCheckBox* {
        for (QCheckBox* b : view.findChildren<QCheckBox*>())
            if (b->accessibleName() == name)
                return b;
        return nullptr;
    };
    ASSERT_NE(box("Temperature"), nullptr);
    ASSERT_NE(box("Diluent pressure"), nullptr);
    ASSERT_NE(box("O2 pressure"), nullptr);
    EXPECT_TRUE(box("O2 pressure")->isChecked());
    EXPECT_TRUE(view.graphCtrl()->curves().o2);
    QTest::mouseClick(box("Temperature"), Qt::LeftButton);
    EXPECT_TRUE(fixture.app.config.graphTemperature);
    EXPECT_TRUE(view.graphCtrl()->curves().temperature);
    QTest::mouseClick(box("O2 pressure"), Qt::LeftButton);
    EXPECT_FALSE(fixture.app.config.graphO2);

    QPushButton* whole = nullptr;
    for (QPushButton* b : view.findChildren<QPushButton*>())
        if (b->accessibleName() == "Whole dive")
            whole = b;
    ASSERT_NE(whole, nullptr);
    CDiveLog dive = longDive();
    view.graphCtrl()->SetData(&dive);
    EXPECT_FALSE(whole->isEnabled());
    view.graphCtrl()->zoomAround(6000, 4.0);
    EXPECT_TRUE(whole->isEnabled());
    QTest::mouseClick(whole, Qt::LeftButton);
    EXPECT_FALSE(view.graphCtrl()->zoomed());
}

// `ravo-cli export --format png` paints the whole 222-minute dive too.
TEST(PngExport, DrawsALongDiveToTheRightEdge)
{
    TempDir home;
    CDiveLog dive = longDive();
    ASSERT_EQ(dive.saveDive(home.file("dive")), 0);
    const std::string png = home.file("long.png");
    ProgramResult r = runCliIn(home, {"export", "1A2B", "2012-05-06_14-22-33_O", "--format", "png", "--out", png});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const QImage image(QString::fromStdString(png));
    ASSERT_EQ(image.size(), QSize(800, 500));
    DiveGraph graph;
    graph.SetData(&dive);
    const DiveGraph::Layout l = graph.layoutFor(800, 500);
    const int stopRow = graph.yPixel(-6.0, 0.0, graph.dataMin, l.plotHeight);
    EXPECT_EQ(image.pixelColor(graph.xPixel(l, graph.wholeSpan(), 12000), stopRow), kLine);
    EXPECT_EQ(image.pixelColor(l.right - 1, 4), kLine);
}

}  // namespace
}  // namespace ravo::test
