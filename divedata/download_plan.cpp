#include "divedata/download_plan.h"

#include "divedata/dive_log.h"
#include "divedata/partial_log.h"
#include "divedata/sample_csv.h"
#include "firmware/file_util.h"

namespace ravo {
SavedDiveState SavedStateOf(const CDiveInfo& entry, const std::string& diveFolder)
{
    CDiveLog named;
    named.info = entry;
    const std::string path = joinFolder(diveFolder, named.makeFileName(true));
    std::vector<CDiveDataRecord> samples;
    const bool read = ReadSamplesCsv(path + ".csv", samples) == 0;
    if (IsMarkedPartial(path))
        return SavedDiveState::Incomplete;
    if (!read)
        return SavedDiveState::NotSaved;
    return samples.size() == entry.recordCount ? SavedDiveState::Complete : SavedDiveState::Incomplete;
}

std::vector<CDiveInfo> DivesToDownload(const std::vector<CDiveInfo>& directory, const std::string& diveFolder)
{
    std::vector<CDiveInfo> wanted;
    for (const CDiveInfo& entry : directory)
        if (entry.valid && SavedStateOf(entry, diveFolder) != SavedDiveState::Complete)
            wanted.push_back(entry);
    return wanted;
}

}  // namespace ravo
