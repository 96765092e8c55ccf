#include "divedata/log_list_rows.h"

#include "link/unit_time.h"
#include "divedata/detail/text_format_p.h"

namespace ravo {

void UnitLogListRows::Fill(const std::vector<CDiveInfo>& directory)
{
    entries_.clear();
    for (const CDiveInfo& entry : directory) {
        if (entry.valid)
            entries_.push_back(entry);
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
    return {};
}

const CDiveInfo* UnitLogListRows::entryForRow(int row) const
{
    if (row < 0 || row >= int(entries_.size()))
        return nullptr;
    return &entries_[size_t(row)];
}

}  // namespace ravo
