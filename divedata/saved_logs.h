#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace ravo {

// Lists the base names of the dive logs saved in `folder` (every "*_O.csv",
// letter case ignored, cut at its first "."), creating the folder when it is
// missing, sorted by name. Returns the number found.
int ListSavedDiveLogs(const std::string& folder, std::vector<std::string>& names);

// True when the saved dive log `baseName` in `folder` was saved before all of
// it arrived (it is listed once, like any other; the next "new dives"
// download fetches it again).
bool SavedDiveLogIsPartial(const std::string& folder, const std::string& baseName);

// How much of a saved dive log that is marked partial is there: the records
// its sample file holds and the records the whole log has (0 when the mark
// does not say).
struct SavedLogPartial {
    bool partial = false;
    uint32_t records = 0;
    uint32_t expected = 0;
};
SavedLogPartial SavedDiveLogPartial(const std::string& folder, const std::string& baseName);

// "records 4600 of 12000" (or "records 4600" when the whole count is not
// known), and "partial, records 4600 of 12000": how every listing, view and
// export marks a partial log.
std::string RecordsOfText(uint32_t records, uint32_t expected);
std::string PartialRecordsText(uint32_t records, uint32_t expected);

// The unit part of a base name: "KTL_SN1A2B_2012-05-06_14-22-33_O" gives
// "1A2B"; empty when the name does not have that shape.
std::string SerialFromLogName(const std::string& name);
// The stamp-and-kind part: "2012-05-06_14-22-33_O" for the name above (or up
// to the first "_R" when there is no "_O"); empty when there is none.
std::string DateKindFromLogName(const std::string& name);

// Saved logs grouped as the navigation tree shows them: one group per unit
// ("%04X"), in ascending order, each with its stamp-and-kind labels in
// ascending order without repeats. Names without both parts are skipped.
struct SavedUnitGroup {
    std::string unit;
    std::vector<std::string> logs;
};
std::vector<SavedUnitGroup> GroupSavedLogs(const std::vector<std::string>& names);

}  // namespace ravo
