#include "divedata/dive_log.h"

#include <cstdlib>

#include "divedata/detail/text_format_p.h"
#include "divedata/detail/text_lines_p.h"
#include "divedata/log_banner.h"
#include "divedata/partial_log.h"
#include "divedata/sample_csv.h"
#include "divedata/saved_dive_slots.h"
#include "divedata/text_file.h"
#include "link/unit_time.h"
#include "firmware/file_util.h"

namespace ravo {
namespace {

uint32_t hexPrefixValue(const std::string& text)
{
    uint32_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        value = value * 16 + uint32_t(digit);
    }
    return value;
}

// A partial redbox file may go where nothing was saved, or over a partial one
// that held fewer records; never over a complete one.
bool partialRedboxMayReplace(const CDiveLog& log, const std::string& path)
{
    if (!PathExists(path))
        return true;
    uint32_t held = 0;
    if (!IsMarkedPartial(path, &held))
        return false;
    return log.samples.size() > held;
}

const char kSaveError[] = "CDiveLog::saveToFile - Error, can not open file for writing";
const char kHeaderSaveError[] = "CDiveHeaderOrangebox::SaveOrangeBoxTxt - Error, can not open file for writing";
const char kSamplesSaveError[] = "SaveSamplesCsv - Error, can not open file for writing";

}  // namespace

void CDiveLog::clear()
{
    info.clear();
    isDive = false;
    partial = false;
    expectedRecords = 0;
    header.Reset();
    redboxHeader.Reset();
    samples.clear();
}

std::string CDiveLog::makeFileName(bool dive) const
{
    std::string date = FormatUnitTime(info.startTime);
    for (char& c : date) {
        if (c == ':')
            c = '-';
        else if (c == ' ')
            c = '_';
    }
    return detail::textC("KTL_SN%X_%s_%s", unsigned(info.unitNumber), date.c_str(), dive ? "O" : "R");
}

namespace {

// Writes a dive's two files at `path` (without extension). Both are written
// beside the old ones before either replaces them: without the samples
// nothing changes (-1); a header that cannot be written does not keep the
// samples from being saved (1); 0 when both are in place.
int writeDiveFiles(const std::string& path, const CDiveLog& log, FileMessages* messages,
                   std::vector<std::string>* savedPaths)
{
    std::string reason;
    StagedFile headerFile(path + ".txt");
    StagedFile sampleFile(path + ".csv");
    bool headerWritten = headerFile.stage(log.header.FormatTxt(), &reason) == 0;
    if (!headerWritten)
        reportFileError(messages, FileErrorText(kHeaderSaveError, headerFile.path(), reason));
    if (sampleFile.stage(FormatSamplesCsv(log.samples), &reason) != 0 || sampleFile.commit(&reason) != 0) {
        reportFileError(messages, FileErrorText(kSamplesSaveError, sampleFile.path(), reason));
        return -1;
    }
    if (headerWritten && headerFile.commit(&reason) != 0) {
        reportFileError(messages, FileErrorText(kHeaderSaveError, headerFile.path(), reason));
        headerWritten = false;
    }
    if (savedPaths) {
        if (headerWritten)
            savedPaths->push_back(headerFile.path());
        savedPaths->push_back(sampleFile.path());
    }
    return headerWritten ? 0 : 1;
}

}  // namespace

int CDiveLog::saveDive(const std::string& folder, FileMessages* messages, std::vector<std::string>* savedPaths)
{
    CFileUtil::CreateFolder(folder);
    SavedDiveSlot there;
    const int slot = ChooseDiveSlot(folder, *this, there);
    if (slot == 0) {
        reportFileError(messages, FileErrorText(kSaveError, joinFolder(folder, makeFileName(true)),
                                                "every name of this start second holds another dive"));
        return kLogSaveFailed;
    }
    const std::string path = joinFolder(folder, DiveBaseName(info, slot));
    // A partial log never replaces the same dive saved with as many records
    // (counted in the file, whatever a mark says), nor a complete one.
    if (partial && there.readable && samples.size() <= there.held())
        return kLogKeptSaved;
    if (slot > 1 && !there.sampleFile)
        reportFileError(messages, "The dive saved as " + joinFolder(folder, DiveBaseName(info, 1)) +
                                      " is another dive that started in the same second; this dive is saved as " +
                                      path);

    std::string reason;
    // A first partial save is marked before its files are written, so a save
    // cut short never leaves a partial log that looks complete; a mark that is
    // there already is replaced only once the files are, so it never claims
    // records they do not hold.
    const bool markFirst = partial && !there.marked;
    if (markFirst && MarkPartial(path, uint32_t(samples.size()), info.recordCount, &reason) != 0) {
        reportFileError(messages, FileErrorText(kSaveError, PartialMarkPath(path), reason));
        return kLogSaveFailed;
    }
    const int written = writeDiveFiles(path, *this, messages, savedPaths);
    if (written < 0) {
        if (markFirst)
            UnmarkPartial(path);  // as it was: no mark
        return kLogSaveFailed;
    }
    if (!partial)
        UnmarkPartial(path);
    else if (!markFirst && MarkPartial(path, uint32_t(samples.size()), info.recordCount, &reason) != 0)
        reportFileError(messages, FileErrorText(kSaveError, PartialMarkPath(path), reason));
    return written == 0 ? kLogSaved : kLogSaveFailed;
}

std::string CDiveLog::FormatRedboxFile() const
{
    std::string out = std::string(kLogBanner) + "\r\nHEADER:";
    detail::appendHexDump(out, redboxHeader.raw, kHeaderBytes);
    out += "\r\nDATA:\r\n";
    out += FormatSamplesCsv(samples);
    return out;
}

int CDiveLog::saveToFile(const std::string& folder, bool dive, std::string& redboxFolder,
                         const RedboxPathChooser& choose, FileMessages* messages, std::vector<std::string>* savedPaths)
{
    if (dive)
        return saveDive(folder, messages, savedPaths);

    CFileUtil::CreateFolder(folder);
    std::string lastFolder = CFileUtil::FolderOf(redboxFolder);
    const std::string proposedFolder = lastFolder.empty() ? folder : lastFolder;
    // Another log that started in the same second keeps its file: this one
    // is proposed under the next name.
    bool another = false;
    std::string proposed = ChooseRedboxPath(proposedFolder, *this, another);
    if (proposed.empty()) {
        reportFileError(messages, FileErrorText(kSaveError, joinFolder(proposedFolder, RedboxFileName(info, 1)),
                                                "every name of this start second holds another redbox log"));
        return kLogSaveFailed;
    }
    std::string chosen;
    if (!choose || !choose(proposed, chosen) || chosen.empty())
        return kLogSaveCancelled;
    const bool besideAnother = another && chosen == proposed && !PathExists(chosen);
    if (partial && !partialRedboxMayReplace(*this, chosen))
        return kLogKeptSaved;
    // The folder rule cuts only a path that looks like a file's; a name
    // without a dot must not become a folder of its own.
    const std::string chosenFolder = CFileUtil::FolderOf(chosen);
    if (chosenFolder.size() < chosen.size())
        CFileUtil::CreateFolder(chosenFolder);
    std::string reason;
    const bool markFirst = partial && !IsMarkedPartial(chosen);
    if (markFirst && MarkPartial(chosen, uint32_t(samples.size()), info.recordCount, &reason) != 0) {
        reportFileError(messages, FileErrorText(kSaveError, PartialMarkPath(chosen), reason));
        return kLogSaveFailed;
    }
    if (WriteFileReplacing(chosen, FormatRedboxFile(), &reason) != 0) {
        reportFileError(messages, FileErrorText(kSaveError, chosen, reason));
        if (markFirst)
            UnmarkPartial(chosen);
        return kLogSaveFailed;
    }
    if (besideAnother) {
        std::string text = "The redbox log saved as ";
        text += joinFolder(proposedFolder, RedboxFileName(info, 1));
        text += " is another log that started in the same second; this log is saved as ";
        text += chosen;
        reportFileError(messages, text);
    }
    // Only a file that was written becomes the place proposed next time.
    redboxFolder = chosen;
    if (!partial)
        UnmarkPartial(chosen);
    else if (!markFirst && MarkPartial(chosen, uint32_t(samples.size()), info.recordCount, &reason) != 0)
        reportFileError(messages, FileErrorText(kSaveError, PartialMarkPath(chosen), reason));
    if (savedPaths)
        savedPaths->push_back(chosen);
    return kLogSaved;
}

namespace {

// The unit number as file names carry it: "%X", without leading zeros.
std::string serialWithoutZeros(const std::string& serialText)
{
    size_t first = serialText.find_first_not_of(" 0");
    return first == std::string::npos ? std::string() : serialText.substr(first);
}

}  // namespace

std::string SavedLogBasePath(const std::string& folder, const std::string& serialText,
                             const std::string& dateKindText)
{
    return joinFolder(folder, "KTL_SN" + serialWithoutZeros(serialText) + "_" + dateKindText);
}

int CDiveLog::loadFromFile(const std::string& folder, const std::string& serialText, const std::string& dateKindText,
                           FileMessages* messages)
{
    clear();
    if (folder.empty() || serialText.empty() || dateKindText.empty())
        return 0;
    info.valid = 1;
    info.unitNumber = hexPrefixValue(serialWithoutZeros(serialText));
    isDive = dateKindText.back() != 'R';
    std::string path = SavedLogBasePath(folder, serialText, dateKindText);

    int result = 0;
    if (isDive) {
        if (header.ReadOrangeBoxTxt(path + ".txt", messages) != 0)
            result = -1;
    } else if (redboxHeader.ReadTxt(path + ".txt", messages) != 0) {
        result = -1;
    }
    if (ReadSamplesCsv(path + ".csv", samples) != 0)
        result = -1;
    info.recordCount = uint32_t(samples.size());
    PartialMark mark;
    partial = ReadPartialMark(path, &mark);
    expectedRecords = partial ? mark.expected : 0;
    return result;
}

}  // namespace ravo
