#include "divedata/saved_dives_export.h"

#include "divedata/text_file.h"

namespace ravo {

bool HoldsSeveralDives(ExportFormat format)
{
    return format == ExportFormat::Uddf || format == ExportFormat::Csv;
}

std::string FormatSavedDives(const std::vector<SavedDive>& dives, ExportFormat format)
{
    std::vector<ExportDive> exportDives;
    for (const SavedDive& dive : dives)
        exportDives.push_back(ExportDive{&dive.log, StartTimeFromDateKind(dive.ref.stamp), SlotOfStamp(dive.ref.stamp)});
    if (format == ExportFormat::Uddf)
        return FormatUddf(exportDives);
    if (format == ExportFormat::Csv)
        return FormatDivesCsv(exportDives);
    return {};
}

int ExportSavedDives(const std::string& folder, const std::vector<SavedDiveRef>& refs, ExportFormat format,
                     const std::string& path, std::string* reason)
{
    if (!HoldsSeveralDives(format)) {
        if (reason)
            *reason = std::string("a ") + ExportExtension(format) + " file holds one dive only";
        return -2;
    }
    std::vector<SavedDive> dives(refs.size());
    for (size_t i = 0; i < refs.size(); ++i) {
        FileMessages messages;
        if (LoadSavedDive(folder, refs[i], dives[i], &messages) != 0) {
            // A file with a dive silently missing would be taken for the whole selection.
            if (reason) {
                *reason = refs[i].unit + " " + refs[i].stamp + " can not be read";
                if (!messages.empty())
                    *reason += ": " + messages.front();
            }
            return -1;
        }
    }
    return WriteFileReplacing(path, FormatSavedDives(dives, format), reason) == 0 ? 0 : -1;
}

std::string DivesExportedText(size_t dives, const std::string& path)
{
    return std::to_string(dives) + (dives == 1 ? " dive" : " dives") + " exported to " + path;
}

}  // namespace ravo
