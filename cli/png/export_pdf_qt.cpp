#include "cli/png/export_pdf.h"
#include "cli/png/offscreen_gui.h"
#include "desktop/paint/report_painter.h"

namespace ravo::cli {

bool WritePdfReport(const std::vector<DiveReportPage>& pages, PaperSize paper, const std::string& path,
                    std::string& error)
{
    OffscreenGui gui;
    std::string reason;
    if (!paint::WriteDiveReportPdf(pages, paper, path, &reason)) {
        error = "Can not write " + path + " (" + reason + ")";
        return false;
    }
    return true;
}

}  // namespace ravo::cli
