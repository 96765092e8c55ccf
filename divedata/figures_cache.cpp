#include "divedata/figures_cache.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "divedata/detail/text_format_p.h"
#include "divedata/sample_csv.h"
#include "divedata/text_file.h"
#include "firmware/file_util.h"

namespace ravo {
namespace {

const char kHeader[] = "Ravo_Config dive figures 1";
constexpr size_t kFields = 11;  // after the name

// FNV-1a over the text before the last line, so a cut or changed file is
// never taken.
uint32_t fnv1a(std::string_view text)
{
    uint32_t hash = 2166136261u;
    for (char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

bool nameFits(const std::string& name)
{
    return !name.empty() && name.find_first_of("\t\r\n") == std::string::npos;
}

// A figure in whole units of its samples: depth in half metres, temperature
// in quarter degrees, pressure in bar; "-" when the dive has none.
std::string scaled(bool has, double value, double perUnit)
{
    return has ? detail::textC("%lld", static_cast<long long>(std::llround(value * perUnit))) : std::string("-");
}

std::string formatEntry(const std::string& name, const CachedFigures& e)
{
    const DiveFigures& f = e.figures;
    return name + detail::textC("\t%llu\t%lld\t%u\t%llu\t", static_cast<unsigned long long>(e.stamp.size),
                                static_cast<long long>(e.stamp.time), unsigned(f.records),
                                static_cast<unsigned long long>(f.lastTime)) +
           scaled(f.hasDepth, f.maxDepth, 2) + "\t" + scaled(f.hasTemp, f.tempMin, 4) + "\t" +
           scaled(f.hasTemp, f.tempMax, 4) + "\t" + scaled(f.hasDil, f.dilStart, 1) + "\t" +
           scaled(f.hasDil, f.dilStop, 1) + "\t" + scaled(f.hasO2, f.o2Start, 1) + "\t" + scaled(f.hasO2, f.o2Stop, 1) +
           "\r\n";
}

template <typename T>
bool number(std::string_view text, T& value)
{
    if (text.empty())
        return false;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// An optional figure: "-", or a count of `perUnit` in the sample's range.
bool figure(std::string_view text, bool& has, double& value, double perUnit)
{
    if (text == "-") {
        has = false;
        value = 0.0;
        return true;
    }
    int count = 0;
    if (!number(text, count) || count < 0 || count > 255)
        return false;
    has = true;
    value = count / perUnit;
    return true;
}

bool parseEntry(std::string_view line, std::string& name, CachedFigures& e)
{
    std::string_view fields[kFields + 1];
    size_t count = 0;
    size_t at = 0;
    for (;;) {
        if (count > kFields)
            return false;
        const size_t tab = line.find('\t', at);
        fields[count++] = line.substr(at, tab == std::string_view::npos ? std::string_view::npos : tab - at);
        if (tab == std::string_view::npos)
            break;
        at = tab + 1;
    }
    if (count != kFields + 1)
        return false;
    name.assign(fields[0]);
    if (!nameFits(name))
        return false;
    DiveFigures& f = e.figures;
    bool hasTempMax = false;
    bool hasDilStop = false;
    bool hasO2Stop = false;
    if (!number(fields[1], e.stamp.size) || !number(fields[2], e.stamp.time) || !number(fields[3], f.records) ||
        !number(fields[4], f.lastTime) || !figure(fields[5], f.hasDepth, f.maxDepth, 2) ||
        !figure(fields[6], f.hasTemp, f.tempMin, 4) || !figure(fields[7], hasTempMax, f.tempMax, 4) ||
        !figure(fields[8], f.hasDil, f.dilStart, 1) || !figure(fields[9], hasDilStop, f.dilStop, 1) ||
        !figure(fields[10], f.hasO2, f.o2Start, 1) || !figure(fields[11], hasO2Stop, f.o2Stop, 1))
        return false;
    return hasTempMax == f.hasTemp && hasDilStop == f.hasDil && hasO2Stop == f.hasO2 && f.tempMin <= f.tempMax;
}

}  // namespace

uint32_t FiguresCacheChecksum(const std::string& body)
{
    return fnv1a(body);
}

bool StampOfFile(const std::string& path, FileStamp& stamp)
{
    std::error_code error;
    const std::filesystem::path p(path);
    if (!std::filesystem::is_regular_file(std::filesystem::status(p, error)))
        return false;
    const uintmax_t size = std::filesystem::file_size(p, error);
    if (error)
        return false;
    const auto time = std::filesystem::last_write_time(p, error);
    if (error)
        return false;
    stamp.size = uint64_t(size);
    stamp.time = int64_t(time.time_since_epoch().count());
    return true;
}

std::string FormatFiguresCache(const FiguresEntries& entries)
{
    std::string body = std::string(kHeader) + "\r\n";
    size_t written = 0;
    for (const auto& [name, entry] : entries) {
        if (!nameFits(name))
            continue;
        body += formatEntry(name, entry);
        ++written;
    }
    return body + detail::textC("end %u %08X\r\n", unsigned(written), unsigned(fnv1a(body)));
}

bool ParseFiguresCache(const std::string& text, FiguresEntries& entries)
{
    entries.clear();
    // The last line closes the file: the count of entries and the checksum of all before it.
    std::string_view all(text);
    if (all.size() < 2 || all.back() != '\n')
        return false;
    all.remove_suffix(all.size() >= 2 && all[all.size() - 2] == '\r' ? 2 : 1);
    const size_t lastLine = all.rfind('\n');
    if (lastLine == std::string_view::npos)
        return false;
    const std::string_view body = std::string_view(text).substr(0, lastLine + 1);
    const std::string_view end = all.substr(lastLine + 1);
    size_t count = 0;
    unsigned sum = 0;
    const size_t space = end.rfind(' ');
    if (end.substr(0, 4) != "end " || space == std::string_view::npos || space <= 4 ||
        !number(end.substr(4, space - 4), count) || end.size() - space - 1 != 8)
        return false;
    auto [sumEnd, sumError] = std::from_chars(end.data() + space + 1, end.data() + end.size(), sum, 16);
    if (sumError != std::errc() || sumEnd != end.data() + end.size() || sum != fnv1a(body))
        return false;

    FiguresEntries read;
    size_t at = 0;
    bool first = true;
    while (at < body.size()) {
        size_t next = body.find('\n', at);
        std::string_view line = body.substr(at, next - at);
        at = next + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (first) {
            if (line != kHeader)
                return false;
            first = false;
            continue;
        }
        std::string name;
        CachedFigures entry;
        if (!parseEntry(line, name, entry) || !read.emplace(std::move(name), entry).second)
            return false;
    }
    if (first || read.size() != count)
        return false;
    entries = std::move(read);
    return true;
}

DiveFiguresCache::DiveFiguresCache(std::string folder) : folder_(std::move(folder)) {}

void DiveFiguresCache::loadOnce()
{
    if (loaded_)
        return;
    loaded_ = true;
    std::string text;
    if (ReadWholeFile(joinFolder(folder_, kFiguresCacheName), text))
        taken_ = ParseFiguresCache(text, entries_);
    // A damaged file is written anew at the next save.
    changed_ = !taken_;
}

bool DiveFiguresCache::figuresFor(const std::string& baseName, DiveFigures& figures)
{
    figures = DiveFigures{};
    const std::string path = joinFolder(folder_, baseName) + ".csv";
    FileStamp before;
    if (!StampOfFile(path, before))
        return false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        loadOnce();
        auto found = entries_.find(baseName);
        if (found != entries_.end() && found->second.stamp == before) {
            figures = found->second.figures;
            return true;
        }
    }
    std::vector<CDiveDataRecord> samples;
    if (ReadSamplesCsv(path, samples) != 0)
        return false;
    figures = ComputeDiveFigures(samples);
    // Kept only when the file did not change while it was read.
    FileStamp after;
    std::lock_guard<std::mutex> lock(mutex_);
    ++filesRead_;
    if (StampOfFile(path, after) && after == before) {
        entries_[baseName] = CachedFigures{before, figures};
        changed_ = true;
    }
    return true;
}

void DiveFiguresCache::retainOnly(const std::vector<std::string>& baseNames)
{
    std::lock_guard<std::mutex> lock(mutex_);
    loadOnce();
    FiguresEntries kept;
    for (const std::string& name : baseNames) {
        auto found = entries_.find(name);
        if (found != entries_.end())
            kept.insert(*found);
    }
    if (kept.size() != entries_.size()) {
        entries_ = std::move(kept);
        changed_ = true;
    }
}

int DiveFiguresCache::save(std::string* reason)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!loaded_ || !changed_)
        return 0;
    if (WriteFileReplacing(joinFolder(folder_, kFiguresCacheName), FormatFiguresCache(entries_), reason) != 0)
        return -1;
    changed_ = false;
    return 0;
}

size_t DiveFiguresCache::filesRead() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return filesRead_;
}

bool DiveFiguresCache::cacheFileTaken() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return taken_;
}

}  // namespace ravo
