#include "divedata/saved_logs.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>
#include <system_error>

#include "divedata/partial_log.h"
#include "divedata/sample_csv.h"
#include "firmware/file_util.h"
#include "link/unit_number.h"

namespace ravo {
namespace {

const std::string kPrefix = "KTL_SN";

bool endsWithNoCase(const std::string& text, const std::string& tail)
{
    if (text.size() < tail.size())
        return false;
    for (size_t i = 0; i < tail.size(); ++i) {
        char a = text[text.size() - tail.size() + i];
        char b = tail[i];
        if (std::tolower(static_cast<unsigned char>(a)) != std::tolower(static_cast<unsigned char>(b)))
            return false;
    }
    return true;
}

// Position just after the "_" that ends the unit part, or npos.
size_t afterSerial(const std::string& name)
{
    if (name.compare(0, kPrefix.size(), kPrefix) != 0)
        return std::string::npos;
    size_t underscore = name.find('_', kPrefix.size());
    return underscore == std::string::npos ? underscore : underscore + 1;
}

}  // namespace

int ListSavedDiveLogs(const std::string& folder, std::vector<std::string>& names)
{
    names.clear();
    CFileUtil::CreateFolder(folder);
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    if (error)
        return 0;
    for (const auto& entry : it) {
        std::string file = entry.path().filename().string();
        if (!endsWithNoCase(file, "_O.csv") || !entry.is_regular_file(error))
            continue;
        names.push_back(file.substr(0, file.find('.')));
    }
    std::sort(names.begin(), names.end());
    return int(names.size());
}

bool SavedDiveLogIsPartial(const std::string& folder, const std::string& baseName)
{
    return IsMarkedPartial(joinFolder(folder, baseName));
}

SavedLogPartial SavedDiveLogPartial(const std::string& folder, const std::string& baseName)
{
    SavedLogPartial result;
    const std::string path = joinFolder(folder, baseName);
    PartialMark mark;
    if (!ReadPartialMark(path, &mark))
        return result;
    result.partial = true;
    result.expected = mark.expected;
    // The file, not the mark, says what is there.
    std::vector<CDiveDataRecord> samples;
    result.records = ReadSamplesCsv(path + ".csv", samples) == 0 ? uint32_t(samples.size()) : 0;
    return result;
}

std::string RecordsOfText(uint32_t records, uint32_t expected)
{
    std::string text = "records " + std::to_string(records);
    if (expected > 0)
        text += " of " + std::to_string(expected);
    return text;
}

std::string PartialRecordsText(uint32_t records, uint32_t expected)
{
    return "partial, " + RecordsOfText(records, expected);
}

std::string SerialFromLogName(const std::string& name)
{
    if (name.compare(0, kPrefix.size(), kPrefix) != 0)
        return {};
    size_t underscore = name.find('_', kPrefix.size());
    if (underscore == std::string::npos || underscore == kPrefix.size())
        return {};
    return name.substr(kPrefix.size(), underscore - kPrefix.size());
}

std::string DateKindFromLogName(const std::string& name)
{
    size_t start = afterSerial(name);
    if (start == std::string::npos)
        return {};
    for (const char* kind : {"_O", "_R"}) {
        size_t at = name.find(kind, start);
        if (at != std::string::npos && at > start)
            return name.substr(start, at + 2 - start);
    }
    return {};
}

std::vector<SavedUnitGroup> GroupSavedLogs(const std::vector<std::string>& names)
{
    std::map<std::string, std::set<std::string>> groups;
    for (const std::string& name : names) {
        std::string unit = SerialFromLogName(name);
        std::string stamp = DateKindFromLogName(name);
        if (unit.empty() || stamp.empty())
            continue;
        groups[formatUnitNumber(parseUnitNumber(unit))].insert(stamp);
    }
    std::vector<SavedUnitGroup> result;
    for (auto& [unit, stamps] : groups)
        result.push_back(SavedUnitGroup{unit, std::vector<std::string>(stamps.begin(), stamps.end())});
    return result;
}

}  // namespace ravo
