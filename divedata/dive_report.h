#pragma once
#include <string>
#include <vector>

#include "divedata/draw_list.h"
#include "divedata/saved_dive.h"

namespace ravo {

// The paper a report is laid out for.
enum class PaperSize { A4, Letter };
// "a4" or "letter" (letter case ignored). False for anything else.
bool ParsePaperSize(const std::string& text, PaperSize& paper);
const char* PaperSizeName(PaperSize paper);  // "A4", "Letter"

// One label and value of a report's header details.
struct ReportRow {
    std::string label;
    std::string value;
};

// What the printed report shows of one dive, on a page of its own: the
// title, the dive view's summary lines, the header's decoded values and
// the profile graph. The printer only lays these out.
struct DiveReportPage {
    std::string title;                 // "Dive 1A2B  2012-05-06 14:22:33 UTC"
    std::vector<std::string> summary;  // the dive view's summary, line by line
    std::vector<ReportRow> details;    // the header's values, as its text file labels them
    DrawList profile;
};

// The size the report's profile is drawn at before it is scaled to the page.
inline constexpr int kReportProfileWidth = 760;
inline constexpr int kReportProfileHeight = 520;

// The header's decoded values as label and value, in the header text file's
// order and labels, without the compartments' tensions; a header whose
// marker is missing leads with "Header": "NOT valid". Empty when the header
// bytes are not known.
std::vector<ReportRow> HeaderDetailRows(const CDiveHeaderOrangebox& header);

// The page of one saved dive (loaded with LoadSavedDive).
DiveReportPage BuildDiveReportPage(const SavedDive& dive);

// The footer of page `page` (from 1) of `pages`: "Ravo_Config v1.35  page 1 of 3".
std::string ReportFooter(int page, int pages);

}  // namespace ravo
