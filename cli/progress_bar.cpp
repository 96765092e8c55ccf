#include "cli/progress_bar.h"

#include <algorithm>

#include "divedata/time_texts.h"
#include "link/c_format.h"

namespace ravo::cli {
namespace {

constexpr int kBarWidth = 40;

std::string bar(int percent)
{
    int filled = std::clamp(percent, 0, 100) * kBarWidth / 100;
    std::string text(size_t(kBarWidth + 2), ' ');
    text.front() = '[';
    text.replace(1, size_t(filled), size_t(filled), '#');
    text.back() = ']';
    return text;
}

}  // namespace

std::string percentBarText(int percent)
{
    return bar(percent) + formatC(" %3d%%", std::clamp(percent, 0, 100));
}

std::string recordBarText(uint64_t done, uint64_t total, uint64_t elapsedMs)
{
    done = std::min(done, total);
    int percent = total ? int(done * 100 / total) : 100;
    std::string text = percentBarText(percent) +
                       formatC("  %llu/%llu records", static_cast<unsigned long long>(done),
                               static_cast<unsigned long long>(total));
    if (done == 0 || elapsedMs == 0)
        return text + "  -- rec/s  --:-- left";
    uint64_t rate = done * 1000 / elapsedMs;
    uint64_t leftSeconds = (total - done) * elapsedMs / done / 1000;
    return text + formatC("  %llu rec/s  ", static_cast<unsigned long long>(rate)) + DurationText(leftSeconds) +
           " left";
}

}  // namespace ravo::cli
