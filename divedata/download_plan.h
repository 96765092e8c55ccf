#pragma once
#include <string>
#include <vector>

#include "divedata/dive_info.h"

namespace ravo {

// Where a directory entry's dive stands in `diveFolder`: not saved, saved
// incomplete (marked partial, or its sample file holds fewer records), or
// saved complete.
enum class SavedDiveState { NotSaved, Incomplete, Complete };

// The state of each entry of `directory`, in directory order (an entry not
// read from the unit is NotSaved). Dives that
// started in the same second share one name and its numbered followers
// ("_2_O", see saved_dive_slots.h); each saved file is given to one entry
// only, by its record count, so two such dives are each found once.
std::vector<SavedDiveState> SavedStatesOf(const std::vector<CDiveInfo>& directory, const std::string& diveFolder);
SavedDiveState SavedStateOf(const CDiveInfo& entry, const std::string& diveFolder);

// The dives of a unit's directory that still need downloading: every valid
// entry whose log is not saved complete in `diveFolder`. A saved log counts
// only when its sample file holds exactly the entry's record count and it is
// not marked partial; anything less is fetched again (and, once complete,
// replaces the partial files). In directory order.
std::vector<CDiveInfo> DivesToDownload(const std::vector<CDiveInfo>& directory, const std::string& diveFolder);

}  // namespace ravo
