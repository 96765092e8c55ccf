// Print, Print Preview, Print Setup and Export PDF of the dive report, with
// the dialogs answered at once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <filesystem>

#include "desktop/print/report_printing.h"
#include "support/temp_dir.h"

namespace ravo::test {
namespace {

using desktop::ReportPrinting;

std::vector<DiveReportPage> twoPages()
{
    std::vector<DiveReportPage> pages;
    for (const char* stamp : {"2012-05-06_14-22-33_O", "2012-05-07_10-00-00_O"}) {
        SavedDive dive;
        dive.ref = {"1A2B", stamp};
        dive.log.isDive = true;
        dive.log.info.unitNumber = 0x1A2B;
        dive.log.samples = {{0, KindDepth, 0}, {60, KindDepth, 30}, {600, KindDepth, 0}};
        dive.log.info.recordCount = 3;
        pages.push_back(BuildDiveReportPage(dive));
    }
    return pages;
}

// PDF page objects (not the page tree).
int pdfPages(const std::string& pdf)
{
    int count = 0;
    for (size_t at = 0; (at = pdf.find("/Type /Page", at)) != std::string::npos; ++at)
        count += pdf.compare(at, 12, "/Type /Pages") != 0;
    return count;
}

TEST(ReportPrinting, PrintsEveryPageOnTheChosenPrinter)
{
    QWidget window;
    TempDir dir;
    ReportPrinting printing(&window);
    int dialogs = 0;
    printing.setDialogRunner([&](QDialog&) { return ++dialogs > 0; });
    printing.printer().setOutputFormat(QPrinter::PdfFormat);
    printing.printer().setOutputFileName(QString::fromStdString(dir.file("printed.pdf")));
    ASSERT_TRUE(printing.print(twoPages()));
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(pdfPages(readFile(dir.file("printed.pdf"))), 2);
    EXPECT_FALSE(printing.print({})) << "nothing to print";

    printing.setDialogRunner([](QDialog&) { return false; });
    std::filesystem::remove(dir.file("printed.pdf"));
    EXPECT_FALSE(printing.print(twoPages()));
    EXPECT_FALSE(std::filesystem::exists(dir.file("printed.pdf"))) << "cancelled";
}

TEST(ReportPrinting, PreviewShowsEveryPage)
{
    QWidget window;
    ReportPrinting printing(&window);
    int shownPages = -1;
    printing.setDialogRunner([&](QDialog& dialog) {
        dialog.show();
        QApplication::processEvents();
        if (auto* widget = dialog.findChild<QPrintPreviewWidget*>())
            shownPages = widget->pageCount();
        dialog.close();
        return true;
    });
    printing.preview(twoPages());
    EXPECT_EQ(shownPages, 2);
}

TEST(ReportPrinting, PrintSetupChoosesThePaperOfTheExportedPdf)
{
    QWidget window;
    TempDir dir;
    ReportPrinting printing(&window);
    EXPECT_EQ(printing.paper(), PaperSize::A4);
    // A PDF printer: the program's own setup, the paper chosen as the user would.
    printing.printer().setOutputFormat(QPrinter::PdfFormat);
    printing.setDialogRunner([&](QDialog& dialog) {
        QComboBox* paper = nullptr;
        for (QComboBox* box : dialog.findChildren<QComboBox*>())
            if (box->accessibleName() == "Paper")
                paper = box;
        EXPECT_NE(paper, nullptr);
        if (paper)
            paper->setCurrentText("Letter");
        return true;
    });
    ASSERT_TRUE(printing.pageSetup());
    EXPECT_EQ(printing.paper(), PaperSize::Letter);
    printing.setDialogRunner([](QDialog&) { return false; });
    EXPECT_FALSE(printing.pageSetup());
    EXPECT_EQ(printing.paper(), PaperSize::Letter) << "a cancelled setup changes nothing";

    QString proposed;
    printing.setPathChooser([&](const QString& offered, QString& path) {
        proposed = offered;
        path = QString::fromStdString(dir.file("report.pdf"));
        return true;
    });
    ASSERT_TRUE(printing.exportPdf(twoPages(), "/offered/name.pdf"));
    EXPECT_EQ(proposed, "/offered/name.pdf");
    const std::string pdf = readFile(dir.file("report.pdf"));
    EXPECT_EQ(pdfPages(pdf), 2);
    EXPECT_NE(pdf.find("/MediaBox [0 0 612"), std::string::npos) << "Letter, 8.5 by 11 inches";

    printing.setPathChooser([](const QString&, QString&) { return false; });
    EXPECT_FALSE(printing.exportPdf(twoPages(), "x.pdf"));
    QStringList notices;
    printing.setErrorNotice([&](const QString& text) { notices << text; });
    printing.setPathChooser([&](const QString&, QString& path) {
        path = QString::fromStdString(dir.file("no/such/folder/r.pdf"));
        return true;
    });
    EXPECT_FALSE(printing.exportPdf(twoPages(), "x.pdf"));
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].startsWith("Can not write the PDF report"));
}

}  // namespace
}  // namespace ravo::test
