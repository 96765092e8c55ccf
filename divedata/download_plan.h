#pragma once
#include <string>
#include <vector>

#include "divedata/dive_info.h"

namespace ravo {

// The dives of a unit's directory that still need downloading: every valid
// entry whose log is not saved complete in `diveFolder`. A saved log counts
// only when its sample file holds exactly the entry's record count and it is
// not marked partial; anything less is fetched again (and, once complete,
// replaces the partial files). In directory order.
// Where a directory entry's dive stands in `diveFolder`: not saved, saved
// incomplete (marked partial, or its sample file holds another record count),
// or saved complete.
enum class SavedDiveState { NotSaved, Incomplete, Complete };
SavedDiveState SavedStateOf(const CDiveInfo& entry, const std::string& diveFolder);

std::vector<CDiveInfo> DivesToDownload(const std::vector<CDiveInfo>& directory, const std::string& diveFolder);

}  // namespace ravo
