#include "divedata/download_plan.h"

#include <map>

#include "divedata/saved_dive_slots.h"
#include "firmware/file_util.h"

namespace ravo {
namespace {

struct SlotSummary {
    bool marked = false;
    uint32_t held = 0;
    uint32_t expected = 0;  // the whole dive's records, as far as the files say
    bool taken = false;
};

// Every slot saved under the name of `entry`'s start second.
std::vector<SlotSummary> savedSlots(const CDiveInfo& entry, const std::string& folder, size_t atLeast)
{
    std::vector<SlotSummary> slots;
    int missingInARow = 0;
    for (int slot = 1; slot <= kMaxDiveSlots && (size_t(slot) <= atLeast || missingInARow < 2); ++slot) {
        SavedDiveSlot there = ReadSavedDiveSlot(joinFolder(folder, DiveBaseName(entry, slot)));
        if (!there.marked && !there.readable) {
            ++missingInARow;
            continue;
        }
        missingInARow = 0;
        SlotSummary summary;
        summary.marked = there.marked;
        summary.held = there.readable ? there.held() : 0;
        summary.expected = there.marked && there.mark.expected ? there.mark.expected : summary.held;
        slots.push_back(summary);
    }
    return slots;
}

}  // namespace

std::vector<SavedDiveState> SavedStatesOf(const std::vector<CDiveInfo>& directory, const std::string& diveFolder)
{
    std::vector<SavedDiveState> states(directory.size(), SavedDiveState::NotSaved);
    // Entries grouped by the name their start second gives.
    std::map<std::string, std::vector<size_t>> groups;
    for (size_t i = 0; i < directory.size(); ++i)
        if (directory[i].valid)
            groups[DiveBaseName(directory[i], 1)].push_back(i);
    for (const auto& [name, members] : groups) {
        std::vector<SlotSummary> slots = savedSlots(directory[members.front()], diveFolder, members.size());
        // First the slots that are the entry's dive by their count, complete
        // ones before partial ones; then an unmarked file with fewer records
        // (a download cut off without a mark) for an entry left over.
        for (bool wantMarked : {false, true})
            for (size_t i : members)
                for (SlotSummary& slot : slots)
                    if (states[i] == SavedDiveState::NotSaved && !slot.taken && slot.marked == wantMarked &&
                        slot.expected == directory[i].recordCount) {
                        slot.taken = true;
                        states[i] = !slot.marked && slot.held == directory[i].recordCount ? SavedDiveState::Complete
                                                                                           : SavedDiveState::Incomplete;
                    }
        for (size_t i : members)
            for (SlotSummary& slot : slots)
                if (states[i] == SavedDiveState::NotSaved && !slot.taken && !slot.marked &&
                    slot.held < directory[i].recordCount) {
                    slot.taken = true;
                    states[i] = SavedDiveState::Incomplete;
                }
    }
    return states;
}

SavedDiveState SavedStateOf(const CDiveInfo& entry, const std::string& diveFolder)
{
    return SavedStatesOf({entry}, diveFolder).front();
}

std::vector<CDiveInfo> DivesToDownload(const std::vector<CDiveInfo>& directory, const std::string& diveFolder)
{
    std::vector<CDiveInfo> wanted;
    const std::vector<SavedDiveState> states = SavedStatesOf(directory, diveFolder);
    for (size_t i = 0; i < directory.size(); ++i)
        if (directory[i].valid && states[i] != SavedDiveState::Complete)
            wanted.push_back(directory[i]);
    return wanted;
}

}  // namespace ravo
