#pragma once
#include <string>

#include "divedata/dive_graph.h"
#include "divedata/dive_log.h"
#include "divedata/draw_list.h"
#include "divedata/uddf_export.h"

namespace ravo {

// The files a saved dive can be exported to.
enum class ExportFormat { Uddf, Csv, Svg, Png, Pdf };

// "uddf", "csv", "svg", "png" or "pdf" (letter case ignored). False for
// anything else.
bool ParseExportFormat(const std::string& text, ExportFormat& format);
// The file name extension of a format, without the dot.
const char* ExportExtension(ExportFormat format);

// The size the profile picture is exported at unless told otherwise.
inline constexpr int kExportWidth = 800;
inline constexpr int kExportHeight = 500;

// What an export of a partial log carries (a UDDF note, a CSV comment line
// before the title row, a label in the picture): "Partial log: records 4600
// of 12000".
std::string PartialLogNote(const CDiveLog& log);

// The start of a saved log from its stamp-and-kind label:
// "2012-05-06_14-22-33_O" gives "2012-05-06T14:22:33"; empty for another shape.
std::string StartTimeFromDateKind(const std::string& dateKind);

// The dive as a UDDF 3.2 document: date and time (`startIso`, or the log's
// own start time when empty), greatest depth, duration, and one waypoint per
// sample record (time in s, the depth last reported in m, temperature in K,
// tank pressure in Pa where the record carries one).
std::string FormatDiveUddf(const CDiveLog& log, const std::string& startIso);

// The samples as CSV in the C locale: the title row
// "time_s,depth_m,temperature_c,dil_bar,o2_bar", then one row per sample
// record with only the cell of its kind filled (records of other kinds leave
// all four empty). Rows end in CR LF.
std::string FormatDiveCsv(const CDiveLog& log);

// Several dives as one CSV file: a "# <unit> <start>Z Partial log: ..." line
// for each partial one, the title row
// "unit,start_utc,time_s,depth_m,temperature_c,dil_bar,o2_bar", then the rows
// of FormatDiveCsv for each dive in turn, each led by its unit and start.
std::string FormatDivesCsv(const std::vector<ExportDive>& dives);

// The painting of the whole dive's profile graph at width x height pixels,
// with the optional curves `curves` asks for.
DrawList DrawDiveProfile(const CDiveLog& log, int width, int height, const GraphCurves& curves = {});
// The profile graph of the dive as an SVG picture of width x height pixels.
std::string FormatDiveSvg(const CDiveLog& log, int width, int height, const GraphCurves& curves = {});

// The optional curves named in `text`, separated by commas: "temp", "o2",
// "dil", or "none" for depth only (letter case ignored). False, with
// `curves` unchanged, for any other name or an empty text.
bool ParseGraphCurves(const std::string& text, GraphCurves& curves);

// Writes the UDDF, CSV or SVG export to `path` (replacing a file there), the
// picture with `curves`. 0; -1 when the file cannot be written (the system's
// reason in `reason`, optional); -2 for PNG and PDF, which need a painter and
// are written by the program layer.
int ExportDiveFile(const CDiveLog& log, const std::string& startIso, ExportFormat format, const std::string& path,
                   int width = kExportWidth, int height = kExportHeight, std::string* reason = nullptr,
                   const GraphCurves& curves = {});

}  // namespace ravo
