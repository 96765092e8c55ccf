#pragma once
#include <functional>
#include <string>
#include <vector>

#include "divedata/dive_header_orangebox.h"
#include "divedata/dive_header_redbox.h"
#include "divedata/dive_info.h"
#include "divedata/dive_record.h"
#include "divedata/file_messages.h"

namespace ravo {

// Asks where a redbox file goes: gets the proposed path, returns false when
// the user cancels, otherwise true with the chosen full path.
using RedboxPathChooser = std::function<bool(const std::string& proposed, std::string& chosen)>;

// Results of CDiveLog::saveToFile.
// kLogKeptSaved: a partial log was not written, because the log saved under
// its name is complete or holds at least as many records.
enum LogSaveResult { kLogSaved = 0, kLogSaveCancelled = 1, kLogKeptSaved = 2, kLogSaveFailed = -1 };

// One whole log, dive or redbox: its directory entry, header and samples.
class CDiveLog {
public:
    CDiveInfo info;
    std::vector<CDiveDataRecord> samples;
    bool isDive = false;
    // Set by the download when header or records did not all arrive. A partial
    // log is saved marked as such (see partial_log.h) and never over a
    // complete one.
    bool partial = false;
    // A partial log loaded from its files: the records the whole log has
    // (the mark's "of M"); 0 when not known or not partial.
    uint32_t expectedRecords = 0;
    CDiveHeaderOrangebox header;     // used when isDive
    CDiveHeaderRedbox redboxHeader;  // used otherwise

    // Zeroes info, resets both headers, empties the samples; isDive and
    // partial false, expectedRecords 0.
    void clear();

    // "KTL_SN%X_<date>_O" (dive) or "..._R" (redbox): the unit number in hex
    // without leading zeros, the start time in UTC as 2012-05-06_14-22-33.
    std::string makeFileName(bool isDive) const;

    // Saves the log. A dive goes to `folder` as header text and sample file,
    // under its usual name, or the next free one when another dive that
    // started in the same second is saved there (see saved_dive_slots.h; the
    // messages say so).
    // A redbox log goes where `choose` says (proposed: the folder of
    // `redboxFolder` by CFileUtil::FolderOf, else `folder`); its folder is
    // created when missing, and `redboxFolder` becomes the chosen path once
    // the file is written. Every file replaces its old version atomically;
    // failures are reported in `messages`. `savedPaths` (optional) gets the
    // files written.
    int saveToFile(const std::string& folder, bool isDive, std::string& redboxFolder, const RedboxPathChooser& choose,
                   FileMessages* messages = nullptr, std::vector<std::string>* savedPaths = nullptr);
    // The dive form of saveToFile.
    int saveDive(const std::string& folder, FileMessages* messages = nullptr,
                 std::vector<std::string>* savedPaths = nullptr);

    // The redbox file's content: banner, "HEADER:" with the hex dump, "DATA:"
    // and the sample lines.
    std::string FormatRedboxFile() const;

    // Reads a saved log back: `serialText` is the unit node label ("00AB"),
    // `dateKindText` the log's label ("2012-05-06_14-22-33_O"). Leaves the log
    // empty when a text is empty. A log marked partial loads with `partial`
    // and `expectedRecords` set. 0, or -1 when a file could not be read
    // (what was read stays; the messages say what failed).
    int loadFromFile(const std::string& folder, const std::string& serialText, const std::string& dateKindText,
                     FileMessages* messages = nullptr);
};

// The path, without extension, of the saved log that loadFromFile reads for
// a unit node label ("00AB") and a log label ("2012-05-06_14-22-33_O").
std::string SavedLogBasePath(const std::string& folder, const std::string& serialText,
                             const std::string& dateKindText);

}  // namespace ravo
