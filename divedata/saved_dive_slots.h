#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "divedata/dive_header_orangebox.h"
#include "divedata/dive_info.h"
#include "divedata/dive_record.h"
#include "divedata/partial_log.h"

namespace ravo {

class CDiveLog;

// A dive's files are named after its unit and start second. Two different
// dives that start in the same second (a unit whose clock stopped) must not
// share them: the first keeps the usual name "KTL_SN%X_<date>_O" (slot 1),
// the next one found gets "KTL_SN%X_<date>_2_O" (slot 2), and so on. Every
// slot ends in "_O", so the saved-log listing, the tree and `show` read them
// like any other.
inline constexpr int kMaxDiveSlots = 999;
std::string DiveBaseName(const CDiveInfo& info, int slot);

// Redbox files the same way: "KTL_SN%X_<date>_R.cvsr", then
// "KTL_SN%X_<date>_2_R.cvsr" and on.
std::string RedboxFileName(const CDiveInfo& info, int slot);
// The path in `folder` proposed for the redbox file of `log`: the first
// slot that is free, or holds this log (the same header bytes), or holds no
// redbox log at all. `another` says that a slot before it holds another log;
// empty when every slot does.
std::string ChooseRedboxPath(const std::string& folder, const CDiveLog& log, bool& another);

// What is saved under one slot's base path.
struct SavedDiveSlot {
    bool sampleFile = false;  // something is there under the sample file's name
    bool readable = false;    // ... a regular file of sample lines that could be read
    bool foreign = false;     // ... a regular file that holds something else
    bool marked = false;
    PartialMark mark;
    std::vector<CDiveDataRecord> samples;
    bool headerKnown = false;  // the header text file holds the header bytes, not all zero
    uint8_t headerRaw[kHeaderBytes] = {};

    uint32_t held() const { return uint32_t(samples.size()); }
};
SavedDiveSlot ReadSavedDiveSlot(const std::string& basePath);

// Whether the slot holds `log` (the same dive, whole or in part): the
// samples of one are the start of the other's, the header bytes agree where
// both hold them (a header cut short is zero where it is missing), and the
// record counts fit: a marked slot's whole count is
// the log's, an unmarked one holds the log's count, or fewer when the headers
// match (a download cut off by an older program that wrote no mark).
bool SlotHoldsDive(const SavedDiveSlot& slot, const CDiveLog& log);

// The slot `log` goes to in `folder`: the first that holds it or is free.
// 0 when all are taken by other dives. `slotFound` gets what is there.
int ChooseDiveSlot(const std::string& folder, const CDiveLog& log, SavedDiveSlot& slotFound);

// Reads the 256 header bytes back from a header text file's hex dump (lines
// 3 to 6 of 64 " %02X" each). False when the text does not hold them.
bool ParseHeaderHexDump(const std::string& text, uint8_t* raw);

}  // namespace ravo
