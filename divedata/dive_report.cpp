#include "divedata/dive_report.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include "divedata/detail/text_format_p.h"
#include "divedata/dive_export.h"
#include "divedata/dive_graph.h"
#include "divedata/dive_summary.h"
#include "divedata/log_banner.h"
#include "divedata/uddf_export.h"

namespace ravo {
namespace {

std::string trimmedRight(std::string text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r'))
        text.pop_back();
    return text;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    size_t at = 0;
    while (at <= text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = trimmedRight(text.substr(at, end - at));
        if (!line.empty())
            lines.push_back(line);
        at = end + 1;
    }
    return lines;
}

}  // namespace

bool ParsePaperSize(const std::string& text, PaperSize& paper)
{
    const std::string name = detail::lowerAscii(text);
    if (name == "a4")
        paper = PaperSize::A4;
    else if (name == "letter")
        paper = PaperSize::Letter;
    else
        return false;
    return true;
}

const char* PaperSizeName(PaperSize paper) { return paper == PaperSize::A4 ? "A4" : "Letter"; }

std::vector<ReportRow> HeaderDetailRows(const CDiveHeaderOrangebox& header)
{
    std::vector<ReportRow> rows;
    if (!HeaderBytesKnown(header))
        return rows;
    if (!header.valid)
        rows.push_back({"Header", "NOT valid"});
    // The labelled lines of the header text file, so the report and the file
    // name every value alike; they follow the "Header is ..." line.
    const std::vector<std::string> lines = linesOf(header.FormatTxt());
    auto first = std::find_if(lines.begin(), lines.end(),
                              [](const std::string& l) { return l.rfind("Header is ", 0) == 0; });
    for (auto it = first == lines.end() ? first : first + 1; it != lines.end(); ++it) {
        const size_t colon = it->find(':');
        if (colon == std::string::npos || it->rfind("Nitrogen tension", 0) == 0 || it->rfind("Helium tension", 0) == 0)
            continue;
        std::string value = it->substr(colon + 1);
        value.erase(0, value.find_first_not_of(' '));
        rows.push_back({trimmedRight(it->substr(0, colon)), value});
    }
    return rows;
}

DiveReportPage BuildDiveReportPage(const SavedDive& dive)
{
    DiveReportPage page;
    std::string start = StartTimeFromDateKind(dive.ref.stamp);
    if (!start.empty())
        start[10] = ' ';
    page.title = "Dive " + dive.ref.unit + "  " + (start.empty() ? dive.ref.stamp : start + " UTC");
    if (SlotOfStamp(dive.ref.stamp) > 1)
        page.title += detail::textC(" (dive %d of that second)", SlotOfStamp(dive.ref.stamp));
    auto graph = std::make_unique<DiveGraph>();  // the series is large for a stack
    graph->SetData(&dive.log);
    page.summary = linesOf(DiveSummaryText(dive.log, *graph));
    page.details = HeaderDetailRows(dive.log.header);
    if (page.details.empty())
        page.details.push_back({"Header", "not known (the header text file holds no header bytes)"});
    page.profile = DrawDiveProfile(dive.log, kReportProfileWidth, kReportProfileHeight);
    return page;
}

std::string ReportFooter(int page, int pages)
{
    return std::string(kLogBanner) + detail::textC("  page %d of %d", page, pages);
}

}  // namespace ravo
