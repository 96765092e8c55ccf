#pragma once
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "divedata/dive_report.h"

class QDialog;
class QPrinter;
class QWidget;

namespace ravo::desktop {

// File > Print, Print Preview, Print Setup and Export PDF for the dive
// report. Holds the printer, so the paper and margins chosen in Print Setup
// hold for every later print, preview and PDF of the session.
class ReportPrinting : public QObject {
    Q_OBJECT
public:
    explicit ReportPrinting(QWidget* parent);
    ~ReportPrinting() override;

    // Print Setup: the page setup dialog. False when cancelled.
    bool pageSetup();
    // Print: the print dialog, then the pages. False when cancelled, when
    // there is nothing to print or when the printer could not be used.
    bool print(const std::vector<DiveReportPage>& pages);
    // Print Preview: the preview of the pages on the printer's paper.
    void preview(const std::vector<DiveReportPage>& pages);
    // Export PDF...: asks where (proposing `proposedPath`), then writes the
    // report on the paper chosen in Print Setup (A4 unless Letter). False
    // when cancelled or not written (after the error notice).
    bool exportPdf(const std::vector<DiveReportPage>& pages, const QString& proposedPath);

    // A4, or Letter when Print Setup chose it.
    PaperSize paper() const;
    QPrinter& printer() { return *printer_; }

    // Runs a dialog and says whether it was accepted; exec() unless replaced
    // (tests accept at once).
    using DialogRunner = std::function<bool(QDialog& dialog)>;
    void setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }
    // Asks for the PDF's path; the Save dialog unless replaced.
    using PathChooser = std::function<bool(const QString& proposed, QString& path)>;
    void setPathChooser(PathChooser chooser) { choosePath_ = std::move(chooser); }
    // Shows a failure; a message box unless replaced.
    void setErrorNotice(std::function<void(const QString&)> notice) { errorNotice_ = std::move(notice); }

private:
    QWidget* parent_;
    std::unique_ptr<QPrinter> printer_;
    DialogRunner runDialog_;
    PathChooser choosePath_;
    std::function<void(const QString&)> errorNotice_;
};

}  // namespace ravo::desktop
