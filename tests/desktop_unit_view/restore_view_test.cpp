#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "unit_view_bench.h"

namespace ravo::test {
namespace {

void click(QWidget* w)
{
    ASSERT_TRUE(w);
    QTest::mouseClick(static_cast<QAbstractButton*>(w), Qt::LeftButton);
}

TEST(UnitViewBackup, ARestoreWritesOnlyTheCheckedDifferingRows)
{
    UnitViewBench bench;
    const QString file = QString::fromStdString(bench.home.file("unit.ini"));
    bench.view->chooseSettingsFile = [&](bool) { return file; };
    bench.readInfo();
    click(bench.control("Save settings..."));
    EXPECT_NE(readFile(file.toStdString()).find("number = 1234"), std::string::npos);

    bench.unit->update([](sim::SimState& s) {
        s.settings.hudBrightness = 1;
        s.settings.oxygenPercent = 95;
        s.settings.dilSize = 45;
    });
    bench.readInfo();

    std::vector<std::string> shown;
    onNextModal([&](QWidget* dialog) {
        auto* table = dialog->findChild<QTreeWidget*>();
        for (int i = 0; i < table->topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = table->topLevelItem(i);
            shown.push_back((item->text(0) + "|" + item->text(1) + "|" + item->text(2)).toStdString());
            if (item->text(0) == "Oxygen part (%)")
                item->setCheckState(0, Qt::Unchecked);
        }
        clickButton(dialog, "Restore");
    });
    click(bench.control("Restore settings..."));
    EXPECT_EQ(shown, (std::vector<std::string>{"HUD brightness|25|75", "DIL size (liter)|4.5|3.0",
                                                "Oxygen part (%)|95|99"}));
    bench.finishJob();
    sim::SimSettings now = bench.unit->state().settings;
    EXPECT_EQ(now.hudBrightness, 3);
    EXPECT_EQ(now.dilSize, 30);
    EXPECT_EQ(now.oxygenPercent, 95);
    // The restore is one job, the settings read it asked for the next.
    ASSERT_GE(bench.ended.size(), 2u);
    const size_t restore = bench.ended.size() - 2;
    EXPECT_EQ(bench.ended[restore], JobKind::RestoreSettings);
    EXPECT_EQ(bench.ended.back(), JobKind::ReadSettings);
    EXPECT_EQ(bench.statusAtEnd[restore], "2 settings restored from [" + file.toStdString() + "]");
    EXPECT_EQ(bench.row("HUD brightness")->text(1), "75");
}

TEST(UnitViewBackup, AFileOfAnotherUnitIsRefusedWithAMessage)
{
    UnitViewBench bench;
    const std::string file = bench.home.file("other.ini");
    bench.view->chooseSettingsFile = [&](bool) { return QString::fromStdString(file); };
    bench.readInfo();
    click(bench.control("Save settings..."));
    std::string text = readFile(file);
    text.replace(text.find("number = 1234"), 13, "number = 0042");
    writeFile(file, text);
    std::string message;
    onNextModal([&](QWidget* box) {
        message = static_cast<QMessageBox*>(box)->text().toStdString();
        clickButton(box, "OK");
    });
    click(bench.control("Restore settings..."));
    EXPECT_EQ(message, "The file holds the settings of unit 0042, not of unit 1234");
}

}  // namespace
}  // namespace ravo::test
