#include "divedata/dive_log.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "divedata/detail/text_format_p.h"
#include "divedata/detail/text_lines_p.h"
#include "divedata/log_banner.h"
#include "divedata/partial_log.h"
#include "divedata/sample_csv.h"
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

bool fileExists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(path, error);
}

// A partial log may go where nothing was saved, or over a partial one that
// held fewer records; never over a complete one.
bool partialMayReplace(const CDiveLog& log, const std::string& logPath, const std::string& dataFile)
{
    if (!fileExists(dataFile))
        return true;
    uint32_t held = 0;
    if (!IsMarkedPartial(logPath, &held))
        return false;
    return log.samples.size() > held;
}

}  // namespace

void CDiveLog::clear()
{
    info.clear();
    isDive = false;
    partial = false;
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

int CDiveLog::saveDive(const std::string& folder, FileMessages* messages, std::vector<std::string>* savedPaths)
{
    CFileUtil::CreateFolder(folder);
    std::string path = joinFolder(folder, makeFileName(true));
    if (partial) {
        if (!partialMayReplace(*this, path, path + ".csv"))
            return kLogKeptSaved;
        if (MarkPartial(path, uint32_t(samples.size()), info.recordCount) != 0) {
            reportFileError(messages, "CDiveLog::saveToFile - Error, can not open file for writing");
            return kLogSaveFailed;
        }
    }
    int result = kLogSaved;
    if (header.SaveOrangeBoxTxt(path + ".txt", messages) != 0)
        result = kLogSaveFailed;
    else if (savedPaths)
        savedPaths->push_back(path + ".txt");
    if (SaveSamplesCsv(path + ".csv", samples, messages) != 0)
        result = kLogSaveFailed;
    else if (savedPaths)
        savedPaths->push_back(path + ".csv");
    if (!partial && result == kLogSaved)
        UnmarkPartial(path);
    return result;
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
    std::string name = makeFileName(false) + ".cvsr";
    std::string proposed = joinFolder(folder, name);
    std::string lastFolder = CFileUtil::FolderOf(redboxFolder);
    if (!lastFolder.empty())
        proposed = joinFolder(lastFolder, name);
    std::string chosen;
    if (!choose || !choose(proposed, chosen) || chosen.empty())
        return kLogSaveCancelled;
    if (partial && !partialMayReplace(*this, chosen, chosen))
        return kLogKeptSaved;
    // The folder rule cuts only a path that looks like a file's; a name
    // without a dot must not become a folder of its own.
    const std::string chosenFolder = CFileUtil::FolderOf(chosen);
    if (chosenFolder.size() < chosen.size())
        CFileUtil::CreateFolder(chosenFolder);
    if ((partial && MarkPartial(chosen, uint32_t(samples.size()), info.recordCount) != 0) ||
        WriteFileReplacing(chosen, FormatRedboxFile()) != 0) {
        reportFileError(messages, "CDiveLog::saveToFile - Error, can not open file for writing");
        return kLogSaveFailed;
    }
    // Only a file that was written becomes the place proposed next time.
    redboxFolder = chosen;
    if (!partial)
        UnmarkPartial(chosen);
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
    return result;
}

}  // namespace ravo
