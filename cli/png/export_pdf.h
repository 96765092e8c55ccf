#pragma once
#include <string>
#include <vector>

#include "divedata/dive_report.h"

namespace ravo::cli {

// Writes the dive report (a page per dive) as a PDF file at `path` on
// `paper`, painted on Qt's offscreen platform. False, with the reason in
// `error`, when it cannot.
bool WritePdfReport(const std::vector<DiveReportPage>& pages, PaperSize paper, const std::string& path,
                    std::string& error);

}  // namespace ravo::cli
