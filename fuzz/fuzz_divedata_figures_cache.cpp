// The figures cache file: any bytes must be read without fault, taken whole
// or not at all. The input is tried as it is, and as the lines before a
// closing line that is right for them, so the entries themselves are read;
// what is taken must be written back to the same text and entries.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "divedata/figures_cache.h"

namespace {

void check(const std::string& text)
{
    ravo::FiguresEntries entries;
    if (!ravo::ParseFiguresCache(text, entries)) {
        if (!entries.empty())
            std::abort();
        return;
    }
    ravo::FiguresEntries again;
    const std::string written = ravo::FormatFiguresCache(entries);
    if (!ravo::ParseFiguresCache(written, again) || again != entries ||
        ravo::FormatFiguresCache(again) != written)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    check(text);
    std::string body = "Ravo_Config dive figures 1\r\n" + text;
    if (!body.empty() && body.back() != '\n')
        body += "\r\n";
    size_t lines = 0;
    for (char c : body)
        lines += c == '\n';
    char end[64];
    std::snprintf(end, sizeof end, "end %zu %08X\r\n", lines - 1, unsigned(ravo::FiguresCacheChecksum(body)));
    check(body + end);
    return 0;
}
