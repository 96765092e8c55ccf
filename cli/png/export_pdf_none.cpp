#include "cli/png/export_pdf.h"

namespace ravo::cli {

bool WritePdfReport(const std::vector<DiveReportPage>&, PaperSize, const std::string&, std::string& error)
{
    error = "PDF export is not available in this build";
    return false;
}

}  // namespace ravo::cli
