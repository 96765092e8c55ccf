#include "divedata/download_plan.h"

#include "divedata/dive_log.h"
#include "divedata/partial_log.h"
#include "divedata/sample_csv.h"
#include "firmware/file_util.h"

namespace ravo {
namespace {

bool savedComplete(const CDiveInfo& entry, const std::string& diveFolder)
{
    CDiveLog named;
    named.info = entry;
    const std::string path = joinFolder(diveFolder, named.makeFileName(true));
    if (IsMarkedPartial(path))
        return false;
    std::vector<CDiveDataRecord> samples;
    if (ReadSamplesCsv(path + ".csv", samples) != 0)
        return false;
    return samples.size() == entry.recordCount;
}

}  // namespace

std::vector<CDiveInfo> DivesToDownload(const std::vector<CDiveInfo>& directory, const std::string& diveFolder)
{
    std::vector<CDiveInfo> wanted;
    for (const CDiveInfo& entry : directory)
        if (entry.valid && !savedComplete(entry, diveFolder))
            wanted.push_back(entry);
    return wanted;
}

}  // namespace ravo
