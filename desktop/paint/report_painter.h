#pragma once
#include <QPageSize>
#include <string>
#include <vector>

#include "divedata/dive_report.h"

class QPagedPaintDevice;

namespace ravo::paint {

QPageSize PageSizeOf(PaperSize paper);

// Lays the report out on a paged device (a PDF writer or a printer), a page
// per dive: title, summary, the header's values in two columns, the
// profile scaled to the rest of the page, and a footer. Needs a
// QGuiApplication (fonts). False when the device cannot be painted on.
bool PaintDiveReport(QPagedPaintDevice& device, const std::vector<DiveReportPage>& pages);

// The report as a PDF file at `path` on `paper` (written through a temporary
// file). False, with the reason in `reason` (optional), when it cannot be
// written.
bool WriteDiveReportPdf(const std::vector<DiveReportPage>& pages, PaperSize paper, const std::string& path,
                        std::string* reason = nullptr);

}  // namespace ravo::paint
