#include "divedata/saved_dive.h"

#include <algorithm>
#include <cstdlib>

#include "divedata/saved_dive_slots.h"
#include "divedata/saved_logs.h"
#include "divedata/text_file.h"
#include "link/unit_number.h"

namespace ravo {

int SlotOfStamp(const std::string& stamp)
{
    // 2012-05-06_14-22-33_2_O: the slot stands between the time and the kind.
    constexpr size_t kTimeLength = 19;
    if (stamp.size() < kTimeLength + 4 || stamp[kTimeLength] != '_')
        return 1;
    const std::string middle = stamp.substr(kTimeLength + 1, stamp.size() - kTimeLength - 3);
    if (middle.empty() || middle.size() > 3 || !std::all_of(middle.begin(), middle.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 1;
    return std::max(1, std::atoi(middle.c_str()));
}

std::vector<SavedDiveRef> ListSavedDives(const std::string& folder, const std::string& unit)
{
    std::vector<std::string> names;
    ListSavedDiveLogs(folder, names);
    const std::string wanted = unit.empty() ? std::string() : formatUnitNumber(parseUnitNumber(unit));
    std::vector<SavedDiveRef> refs;
    for (SavedUnitGroup& group : GroupSavedLogs(names)) {
        if (!wanted.empty() && group.unit != wanted)
            continue;
        // By start second, then slot: "..._2_O" sorts before "..._O" by name.
        std::stable_sort(group.logs.begin(), group.logs.end(), [](const std::string& a, const std::string& b) {
            const int byTime = a.compare(0, 19, b, 0, 19);
            return byTime != 0 ? byTime < 0 : SlotOfStamp(a) < SlotOfStamp(b);
        });
        for (const std::string& stamp : group.logs)
            refs.push_back(SavedDiveRef{group.unit, stamp});
    }
    return refs;
}

bool ReadSavedHeaderBytes(const std::string& path, CDiveHeaderOrangebox& header)
{
    std::string content;
    uint8_t raw[kHeaderBytes] = {};
    if (!ReadWholeFile(path, content, kSmallTextFileMaxBytes) || !ParseHeaderHexDump(content, raw))
        return false;
    if (std::all_of(raw, raw + kHeaderBytes, [](uint8_t b) { return b == 0; }))
        return false;
    const std::string text = header.text;
    std::copy(raw, raw + kHeaderBytes, header.raw);
    header.Parse();
    header.text = text;
    return true;
}

int LoadSavedDive(const std::string& folder, const SavedDiveRef& ref, SavedDive& dive, FileMessages* messages)
{
    dive.ref = ref;
    int result = dive.log.loadFromFile(folder, ref.unit, ref.stamp, messages);
    dive.headerKnown = dive.log.isDive && ReadSavedHeaderBytes(SavedLogBasePath(folder, ref.unit, ref.stamp) + ".txt",
                                                                dive.log.header);
    return result;
}

}  // namespace ravo
