#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "divedata/dive_info.h"

namespace ravo {

// What a list says of the entries at `unread` that the unit did not give:
// "Dive entries 3, 5 could not be read from the unit" ("Redbox entry 3 ..."
// with `redbox`); empty when there are none.
std::string UnreadEntriesText(const std::vector<uint16_t>& unread, bool redbox);
// The same when the unit did not even give its number of logs.
std::string UnreadCountText(bool redbox);

// The rows of a unit log list (dive or redbox directory): one per entry, in
// directory order, never sorted.
class UnitLogListRows {
public:
    static constexpr const char* kColumnHeaders[3] = {"UTC", "Size", "Saved"};

    // The text of an entry the unit did not give, in place of its start time.
    static constexpr const char* kUnreadText = "could not be read";

    // Rebuilds the rows from `directory` of unit `unit`, one per entry in
    // directory order. An entry not read (valid 0) is a row that says so,
    // keeping its index (its position) so that it can be asked for again.
    void Fill(const std::vector<CDiveInfo>& directory, uint32_t unit);
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
    // (when marked): the saved state. A row not read: kUnreadText, then empty.
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
