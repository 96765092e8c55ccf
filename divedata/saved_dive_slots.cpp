#include "divedata/saved_dive_slots.h"

#include <algorithm>

#include "divedata/detail/text_format_p.h"
#include "divedata/dive_log.h"
#include "divedata/sample_csv.h"
#include "divedata/text_file.h"
#include "firmware/file_util.h"

namespace ravo {
namespace {

bool allZero(const uint8_t* raw)
{
    return std::all_of(raw, raw + kHeaderBytes, [](uint8_t b) { return b == 0; });
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool samePrefix(const std::vector<CDiveDataRecord>& a, const std::vector<CDiveDataRecord>& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
        if (a[i].time != b[i].time || a[i].kind != b[i].kind || a[i].value != b[i].value)
            return false;
    return true;
}

}  // namespace

namespace {

std::string slotBaseName(const CDiveInfo& info, int slot, bool dive)
{
    CDiveLog named;
    named.info = info;
    std::string name = named.makeFileName(dive);
    if (slot > 1)
        name.insert(name.size() - 2, detail::textC("_%d", slot));
    return name;
}

}  // namespace

std::string DiveBaseName(const CDiveInfo& info, int slot)
{
    return slotBaseName(info, slot, true);
}

std::string RedboxFileName(const CDiveInfo& info, int slot)
{
    return slotBaseName(info, slot, false) + ".cvsr";
}

std::string ChooseRedboxPath(const std::string& folder, const CDiveLog& log, bool& another)
{
    another = false;
    for (int slot = 1; slot <= kMaxDiveSlots; ++slot) {
        const std::string path = joinFolder(folder, RedboxFileName(log.info, slot));
        if (!PathExists(path))
            return path;
        // A file whose header cannot be read holds no redbox log: it is
        // replaced, as it always was.
        std::string text;
        uint8_t raw[kHeaderBytes] = {};
        if (!ReadWholeFile(path, text) || !ParseHeaderHexDump(text, raw) ||
            std::equal(raw, raw + kHeaderBytes, log.redboxHeader.raw))
            return path;
        another = true;
    }
    return {};
}

bool ParseHeaderHexDump(const std::string& text, uint8_t* raw)
{
    // Skip the banner line and the empty line before the dump.
    size_t at = 0;
    for (int line = 0; line < 2; ++line) {
        at = text.find('\n', at);
        if (at == std::string::npos)
            return false;
        ++at;
    }
    int count = 0;
    while (count < kHeaderBytes && at + 1 < text.size()) {
        const char c = text[at];
        if (c == ' ' || c == '\r' || c == '\n') {
            ++at;
            continue;
        }
        const int high = hexDigit(c);
        const int low = hexDigit(text[at + 1]);
        if (high < 0 || low < 0)
            return false;
        raw[count++] = uint8_t(high << 4 | low);
        at += 2;
    }
    return count == kHeaderBytes;
}

SavedDiveSlot ReadSavedDiveSlot(const std::string& basePath)
{
    SavedDiveSlot slot;
    slot.marked = ReadPartialMark(basePath, &slot.mark);
    const std::string samplePath = basePath + ".csv";
    slot.sampleFile = PathExists(samplePath);
    std::string content;
    if (ReadWholeFile(samplePath, content)) {
        slot.foreign = FirstForeignSampleLine(content) != 0;
        slot.readable = !slot.foreign;
        if (slot.readable)
            ParseSamplesText(content, slot.samples);
    }
    // The hex dump stands in the first kilobytes of the header file.
    if (ReadWholeFile(basePath + ".txt", content, kSmallTextFileMaxBytes) &&
        ParseHeaderHexDump(content, slot.headerRaw))
        slot.headerKnown = !allZero(slot.headerRaw);
    return slot;
}

bool SlotHoldsDive(const SavedDiveSlot& slot, const CDiveLog& log)
{
    if (!slot.readable)
        return false;
    // A header that did not arrive whole is zero where it is missing, so only
    // bytes both sides hold can disagree.
    const bool bothKnown = slot.headerKnown && !allZero(log.header.raw);
    for (int i = 0; bothKnown && i < kHeaderBytes; ++i)
        if (slot.headerRaw[i] != log.header.raw[i] && slot.headerRaw[i] != 0 && log.header.raw[i] != 0)
            return false;
    if (!samePrefix(slot.samples, log.samples))
        return false;
    const uint32_t expected = log.info.recordCount;
    if (slot.marked)
        return slot.mark.expected == 0 || slot.mark.expected == expected;
    if (slot.held() == expected)
        return true;
    return slot.held() < expected && bothKnown;
}

int ChooseDiveSlot(const std::string& folder, const CDiveLog& log, SavedDiveSlot& slotFound)
{
    for (int slot = 1; slot <= kMaxDiveSlots; ++slot) {
        SavedDiveSlot there = ReadSavedDiveSlot(joinFolder(folder, DiveBaseName(log.info, slot)));
        // A mark whose sample file never arrived holds nothing; a file of
        // another kind under the name is replaced, as it always was.
        if (!there.sampleFile || there.foreign || SlotHoldsDive(there, log)) {
            slotFound = std::move(there);
            return slot;
        }
    }
    return 0;
}

}  // namespace ravo
