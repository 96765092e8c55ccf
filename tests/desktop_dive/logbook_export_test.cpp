// The logbook's selection exported into one file: the button follows the
// selection, the chosen dives (and only they) land in the file, a file that
// cannot be written is reported and never called exported.
#include <gtest/gtest.h>

#include <QFile>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QXmlStreamReader>

#include "desktop/models/logbook_model.h"
#include "desktop/views/view_logbook.h"
#include "firmware/file_util.h"
#include "support/test_dives.h"
#include "view_fixture.h"

namespace ravo::test {
namespace {

constexpr uint32_t kMay6 = 1336314153 - 946684800;  // 2012-05-06 14:22:33 UTC

// The ids of the dive elements of a UDDF file.
QStringList diveIds(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {"(unreadable)"};
    QStringList ids;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("dive"))
            ids << xml.attributes().value("id").toString();
    if (xml.hasError())
        ids << "(bad XML: " + xml.errorString() + ")";
    return ids;
}

class LogbookExport : public ::testing::Test {
protected:
    LogbookExport() : view(fixture.app)
    {
        for (auto [unit, start] : {std::pair{0xABu, kMay6}, {0xABu, kMay6 + 86400}, {0x1A2Bu, kMay6 - 86400}})
            EXPECT_EQ(testDive(unit, start, {{0, KindDepth, 0}, {60, KindDepth, 40}, {600, KindDepth, 0}})
                          .saveDive(fixture.diveFolder()),
                      0);
        fixture.app.listSavedDives();
        view.resize(1000, 500);
        view.show();
        view.refresh();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !view.loading(); }, 10000));
        view.setExportChooser([this](const QString& proposed, QString& path, ExportFormat& format) {
            proposals << proposed;
            path = target;
            format = ExportFormat::Uddf;
            return true;
        });
        view.setErrorNotice([this](const QString& text) { errors << text; });
        for (QPushButton* button : view.findChildren<QPushButton*>())
            if (button->accessibleName() == "Export selection...")
                exportButton = button;
    }
    void selectRow(int row)
    {
        view.table()->selectionModel()->select(view.model().index(row, 0),
                                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    ViewFixture fixture;
    desktop::CViewLogbook view;
    QPushButton* exportButton = nullptr;
    QString target;
    QStringList proposals, errors;
};

TEST_F(LogbookExport, TheSelectedDivesGoIntoOneUddfFile)
{
    ASSERT_NE(exportButton, nullptr);
    ASSERT_EQ(view.model().rowCount(), 3);
    EXPECT_FALSE(exportButton->isEnabled());

    // The first and the last in start order: 1A2B on the 5th, 00AB on the 7th.
    selectRow(0);
    selectRow(2);
    ASSERT_TRUE(exportButton->isEnabled());
    target = QString::fromStdString(fixture.home.file("two.uddf"));
    QTest::mouseClick(exportButton, Qt::LeftButton);

    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    ASSERT_EQ(proposals.size(), 1);
    EXPECT_TRUE(proposals[0].startsWith(QString::fromStdString(fixture.diveFolder()))) << proposals[0].toStdString();
    const QStringList ids = diveIds(target);
    ASSERT_EQ(ids.size(), 2) << ids.join(" ").toStdString();
    EXPECT_TRUE(ids[0].contains("1A2B_20120505T142233")) << ids[0].toStdString();
    EXPECT_TRUE(ids[1].contains("AB_20120507T142233")) << ids[1].toStdString();
    EXPECT_EQ(view.exportNote(), "2 dives exported to " + target);

    // A file that cannot be written is said so, with its name, and not called exported.
    const QString blocked = QString::fromStdString(joinFolder(fixture.home.file("missing"), "x.uddf"));
    EXPECT_FALSE(view.exportSelectionTo(blocked, ExportFormat::Uddf));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(blocked)) << errors[0].toStdString();
    EXPECT_FALSE(view.exportNote().contains("exported"));
    EXPECT_FALSE(QFile::exists(blocked));

    view.table()->clearSelection();
    EXPECT_FALSE(exportButton->isEnabled());
}

}  // namespace
}  // namespace ravo::test
