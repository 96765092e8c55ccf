// The health view: the warning line, the trend painted at the screen's pixel
// ratio and the table, from a unit's saved dives.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTableWidget>
#include <QTest>

#include "app/tree_rules.h"
#include "desktop/controls/health_trend_ctrl.h"
#include "desktop/views/view_health.h"
#include "divedata/dive_log.h"
#include "divedata/health_trend.h"
#include "view_fixture.h"

namespace ravo::test {
namespace {

using desktop::CViewHealth;

// Five dives of unit 1234 a day apart whose cell 2 sinks from 48 to 38 mV.
void saveSinkingCell(const std::string& folder)
{
    const uint8_t cell2[] = {48, 47, 45, 42, 38};
    for (int i = 0; i < 5; ++i) {
        CDiveLog log;
        log.isDive = true;
        log.info.valid = 1;
        log.info.unitNumber = 0x1234;
        log.info.startTime = 600000000u + uint32_t(i) * 86400;
        log.samples = {{0, KindDepth, 0}, {60, KindDepth, 20}};
        log.info.recordCount = 2;
        log.header.raw[0] = log.header.raw[1] = 0xFF;
        log.header.raw[14] = 47;
        log.header.raw[15] = cell2[i];
        log.header.raw[34] = 90;
        log.header.Parse();
        ASSERT_EQ(log.saveDive(folder), kLogSaved);
    }
}

QLabel* labelNamed(QWidget& parent, const QString& prefix)
{
    for (QLabel* label : parent.findChildren<QLabel*>())
        if (label->accessibleName().startsWith(prefix))
            return label;
    return nullptr;
}

int pixelsOf(const QImage& image, const QColor& colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour;
    return count;
}

TEST(HealthView, ASinkingCellIsFlaggedAboveTheTrend)
{
    ViewFixture fixture;
    saveSinkingCell(fixture.diveFolder());
    CViewHealth view(fixture.context());
    view.resize(900, 700);
    view.show();
    view.treeSelection(selectionLabels(kHealthNode, "1234", kSavedRoot));
    QApplication::processEvents();

    QLabel* warning = labelNamed(view, "Warning (");
    ASSERT_NE(warning, nullptr) << view.warningText().toStdString();
    EXPECT_TRUE(warning->text().contains("Cell 2 38 mV is 17% below its median"));
    EXPECT_NE(labelNamed(view, "Health of unit 1234"), nullptr);

    QTableWidget* table = view.table();
    ASSERT_EQ(table->rowCount(), 5);
    EXPECT_EQ(table->horizontalHeaderItem(5)->text(), "Flags");
    EXPECT_EQ(table->item(0, 2)->text(), "48");
    EXPECT_TRUE(table->item(0, 5)->text().isEmpty());
    EXPECT_TRUE(table->item(4, 5)->text().startsWith("Cell 2 38 mV"));

    const QImage trend = view.trendCtrl()->grab().toImage();
    const HealthTrendColours colours;
    const auto rgb = [](Rgb c) { return QColor(c.r, c.g, c.b); };
    EXPECT_EQ(trend.pixelColor(1, 1), rgb(colours.back));
    EXPECT_GT(pixelsOf(trend, rgb(colours.cell[1])), 20) << "cell 2's line";
    EXPECT_GT(pixelsOf(trend, rgb(colours.flag)), 20) << "the flagged points";
}

TEST(HealthView, AUnitWithoutDivesAndTheClearedView)
{
    ViewFixture fixture;
    CViewHealth view(fixture.context());
    view.showUnit(fixture.diveFolder(), "0AB1");
    EXPECT_EQ(view.warningText(), "No dive of this unit holds health figures");
    EXPECT_EQ(view.table()->rowCount(), 0);
    view.showUnit({}, {});
    EXPECT_TRUE(view.warningText().isEmpty());
    EXPECT_NE(labelNamed(view, "Health warning"), nullptr);
}

}  // namespace
}  // namespace ravo::test
