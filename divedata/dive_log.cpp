#include "divedata/dive_log.h"

#include <cstdlib>

#include "divedata/detail/text_lines_p.h"
#include "divedata/log_banner.h"
#include "divedata/sample_csv.h"
#include "divedata/text_file.h"
#include "divedata/unit_time.h"
#include "divedata/detail/text_format_p.h"

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

}  // namespace

void CDiveLog::clear()
{
    info.clear();
    isDive = false;
    header.Reset();
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
    CreateFolderPath(folder);
    std::string path = JoinPath(folder, makeFileName(true));
    int result = kLogSaved;
    if (header.SaveOrangeBoxTxt(path + ".txt", messages) != 0)
        result = kLogSaveFailed;
    else if (savedPaths)
        savedPaths->push_back(path + ".txt");
    if (SaveSamplesCsv(path + ".csv", samples, messages) != 0)
        result = kLogSaveFailed;
    else if (savedPaths)
        savedPaths->push_back(path + ".csv");
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

    CreateFolderPath(folder);
    std::string name = makeFileName(false) + ".cvsr";
    std::string proposed = JoinPath(folder, name);
    if (!redboxFolder.empty() && !FolderOf(redboxFolder).empty())
        proposed = JoinPath(FolderOf(redboxFolder), name);
    std::string chosen;
    if (!choose || !choose(proposed, chosen) || chosen.empty())
        return kLogSaveCancelled;
    redboxFolder = chosen;
    if (WriteFileReplacing(chosen, FormatRedboxFile()) != 0) {
        reportFileError(messages, "CDiveLog::saveToFile - Error, can not open file for writing");
        return kLogSaveFailed;
    }
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
    return JoinPath(folder, "KTL_SN" + serialWithoutZeros(serialText) + "_" + dateKindText);
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
