#include "divedata/log_list_rows.h"

#include "divedata/download_plan.h"

#include "link/unit_time.h"
#include "divedata/detail/text_format_p.h"

namespace ravo {

void UnitLogListRows::Fill(const std::vector<CDiveInfo>& directory)
{
    entries_.clear();
    saved_.clear();
    for (const CDiveInfo& entry : directory) {
        if (entry.valid)
            entries_.push_back(entry);
    }
}

void UnitLogListRows::MarkSaved(const std::string& diveFolder)
{
    saved_.clear();
    for (SavedDiveState state : SavedStatesOf(entries_, diveFolder)) {
        switch (state) {
        case SavedDiveState::Complete: saved_.push_back("saved"); break;
        case SavedDiveState::Incomplete: saved_.push_back("incomplete"); break;
        case SavedDiveState::NotSaved: saved_.push_back(""); break;
        }
    }
}

std::string UnitLogListRows::cellText(int row, int column) const
{
    const CDiveInfo* entry = entryForRow(row);
    if (!entry)
        return {};
    if (column == 0)
        return FormatUnitTime(entry->startTime);
    if (column == 1)
        return detail::textC("%u", unsigned(entry->recordCount));
    if (column == 2 && size_t(row) < saved_.size())
        return saved_[size_t(row)];
    return {};
}

const CDiveInfo* UnitLogListRows::entryForRow(int row) const
{
    if (row < 0 || row >= int(entries_.size()))
        return nullptr;
    return &entries_[size_t(row)];
}

}  // namespace ravo
