#include "desktop/print/report_printing.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "desktop/paint/report_painter.h"

namespace ravo::desktop {

ReportPrinting::ReportPrinting(QWidget* parent) : QObject(parent), parent_(parent), printer_(std::make_unique<QPrinter>())
{
    printer_->setPageSize(paint::PageSizeOf(PaperSize::A4));
    printer_->setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    printer_->setDocName("Dive report");
    runDialog_ = [](QDialog& dialog) { return dialog.exec() == QDialog::Accepted; };
    choosePath_ = [this](const QString& proposed, QString& path) {
        path = QFileDialog::getSaveFileName(parent_, "Export PDF", proposed, "PDF report (*.pdf)");
        if (!path.isEmpty() && !path.endsWith(".pdf", Qt::CaseInsensitive))
            path += ".pdf";
        return !path.isEmpty();
    };
    errorNotice_ = [this](const QString& text) { QMessageBox::critical(parent_, "Ravo_Config", text); };
}

ReportPrinting::~ReportPrinting() = default;

PaperSize ReportPrinting::paper() const
{
    return printer_->pageLayout().pageSize().id() == QPageSize::Letter ? PaperSize::Letter : PaperSize::A4;
}

bool ReportPrinting::pageSetup()
{
    if (printer_->outputFormat() == QPrinter::NativeFormat) {
        QPageSetupDialog dialog(printer_.get(), parent_);
        return runDialog_(dialog);
    }
    // Without a printer of the system's (Qt's page setup dialog serves only
    // those) the report is a PDF, and its paper is all there is to set up.
    QDialog dialog(parent_);
    dialog.setWindowTitle("Print setup");
    auto* paper = new QComboBox(&dialog);
    paper->setAccessibleName("Paper");
    paper->addItems({PaperSizeName(PaperSize::A4), PaperSizeName(PaperSize::Letter)});
    paper->setCurrentIndex(this->paper() == PaperSize::Letter ? 1 : 0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* form = new QFormLayout(&dialog);
    form->addRow("Paper", paper);
    form->addRow(buttons);
    if (!runDialog_(dialog))
        return false;
    printer_->setPageSize(paint::PageSizeOf(paper->currentIndex() == 1 ? PaperSize::Letter : PaperSize::A4));
    return true;
}

bool ReportPrinting::print(const std::vector<DiveReportPage>& pages)
{
    if (pages.empty())
        return false;
    QPrintDialog dialog(printer_.get(), parent_);
    dialog.setWindowTitle("Print dive report");
    if (!runDialog_(dialog))
        return false;
    if (!paint::PaintDiveReport(*printer_, pages)) {
        errorNotice_("The printer could not be used");
        return false;
    }
    return true;
}

void ReportPrinting::preview(const std::vector<DiveReportPage>& pages)
{
    QPrintPreviewDialog dialog(printer_.get(), parent_);
    dialog.setWindowTitle("Print preview");
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
            [&pages](QPrinter* printer) { paint::PaintDiveReport(*printer, pages); });
    runDialog_(dialog);
}

bool ReportPrinting::exportPdf(const std::vector<DiveReportPage>& pages, const QString& proposedPath)
{
    if (pages.empty())
        return false;
    QString path;
    if (!choosePath_(proposedPath, path))
        return false;
    std::string reason;
    if (!paint::WriteDiveReportPdf(pages, paper(), path.toStdString(), &reason)) {
        errorNotice_("Can not write the PDF report " + path + " (" + QString::fromStdString(reason) + ")");
        return false;
    }
    return true;
}

}  // namespace ravo::desktop
