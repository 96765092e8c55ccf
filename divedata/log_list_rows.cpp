#include "divedata/log_list_rows.h"

#include "divedata/download_plan.h"

#include "link/unit_time.h"
#include "divedata/detail/text_format_p.h"

namespace ravo {

void UnitLogListRows::Fill(const std::vector<CDiveInfo>& directory, uint32_t unit)
{
    entries_.clear();
    saved_.clear();
    for (size_t i = 0; i < directory.size(); ++i) {
        CDiveInfo entry = directory[i];
        if (!entry.valid) {
            entry.clear();
            entry.unitNumber = unit;
            entry.index = uint16_t(i);
        }
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
    if (!entry->valid)
        return column == 0 ? kUnreadText : "";
    if (column == 0)
        return FormatUnitTime(entry->startTime);
    if (column == 1)
        return detail::textC("%u", unsigned(entry->recordCount));
    if (column == 2 && size_t(row) < saved_.size())
        return saved_[size_t(row)];
    return {};
}

std::string UnreadEntriesText(const std::vector<uint16_t>& unread, bool redbox)
{
    if (unread.empty())
        return {};
    std::string text = redbox ? "Redbox " : "Dive ";
    text += unread.size() == 1 ? "entry " : "entries ";
    for (size_t i = 0; i < unread.size(); ++i)
        text += (i ? ", " : "") + std::to_string(unread[i]);
    return text + " could not be read from the unit";
}

std::string UnreadCountText(bool redbox)
{
    return redbox ? "The number of redbox logs could not be read from the unit: none is listed"
                  : "The number of dives could not be read from the unit: none is listed";
}

const CDiveInfo* UnitLogListRows::entryForRow(int row) const
{
    if (row < 0 || row >= int(entries_.size()))
        return nullptr;
    return &entries_[size_t(row)];
}

}  // namespace ravo
