#pragma once
#include <string>
#include <vector>

#include "divedata/dive_log.h"
#include "divedata/file_messages.h"

namespace ravo {

// A saved dive as the tree names it: its unit node label ("1A2B") and its
// stamp-and-kind label ("2012-05-06_14-22-33_O", "..._2_O" for the second
// dive of one start second).
struct SavedDiveRef {
    std::string unit;
    std::string stamp;
    bool operator==(const SavedDiveRef&) const = default;
};

// A saved dive read back for an export, a report or the unit's health: the
// log as the dive view loads it, and its header decoded from the bytes the
// header text file holds.
struct SavedDive {
    SavedDiveRef ref;
    CDiveLog log;
    bool headerKnown = false;  // the header bytes were read back and are not all zero
};

// The saved dives of `folder` in the tree's order: by unit, then by start
// time (same-second dives in slot order). With `unit` not empty, only that
// unit's dives (compared as unit numbers: "00AB" and "AB" are one unit).
std::vector<SavedDiveRef> ListSavedDives(const std::string& folder, const std::string& unit = {});

// The slot of a stamp: 2 for "2012-05-06_14-22-33_2_O", 1 when it has none.
int SlotOfStamp(const std::string& stamp);

// Reads the 256 header bytes from the hex dump of the header text file at
// `path` into `header` and decodes them, keeping `header.text`. True when the
// dump was there and not all zero; otherwise the header is left as it was.
bool ReadSavedHeaderBytes(const std::string& path, CDiveHeaderOrangebox& header);

// Loads a saved dive: the log (CDiveLog::loadFromFile), then the header
// bytes. 0, or -1 when a file could not be read (the messages say which).
int LoadSavedDive(const std::string& folder, const SavedDiveRef& ref, SavedDive& dive,
                  FileMessages* messages = nullptr);

}  // namespace ravo
