#pragma once
#include <string>
#include <vector>

#include "divedata/dive_info.h"

namespace ravo {

// The rows of a unit log list (dive or redbox directory): one per valid
// entry, in directory order, never sorted.
class UnitLogListRows {
public:
    static constexpr const char* kColumnHeaders[3] = {"UTC", "Size", "Saved"};

    // Rebuilds the rows from `directory`, skipping entries not read (valid 0).
    void Fill(const std::vector<CDiveInfo>& directory);
    void Reset()
    {
        entries_.clear();
        saved_.clear();
    }
    // Dive lists: adds column 2, where each row's dive stands in `diveFolder`
    // ("saved", "incomplete" or empty), until the next Fill.
    void MarkSaved(const std::string& diveFolder);

    int rowCount() const { return int(entries_.size()); }
    // Column 0: the start time in UTC; column 1: the record count; column 2
    // (when marked): the saved state.
    std::string cellText(int row, int column) const;
    // The entry of row `row`, or null for a row that is not there (a click
    // below the last row).
    const CDiveInfo* entryForRow(int row) const;
    // The entry a double-click on `row` asks the main window to download, or
    // null when the click hit no row or a unit job is running: a list never
    // starts a second job.
    const CDiveInfo* doubleClickRequest(int row, bool jobRunning) const
    {
        return jobRunning ? nullptr : entryForRow(row);
    }

private:
    std::vector<CDiveInfo> entries_;
    std::vector<std::string> saved_;  // per row, after MarkSaved
};

}  // namespace ravo
