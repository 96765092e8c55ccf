#include "settings/clock_check.h"

#include "link/c_format.h"

namespace ravo {

std::string timeSpanText(int64_t seconds)
{
    const int64_t days = seconds / 86400;
    const int64_t hours = seconds / 3600 % 24;
    const int64_t minutes = seconds / 60 % 60;
    const int64_t rest = seconds % 60;
    std::string text;
    auto part = [&](int64_t value, const char* unit) {
        if (value == 0)
            return;
        if (!text.empty())
            text += ' ';
        text += std::to_string(value) + " " + unit;
    };
    part(days, "d");
    part(hours, "h");
    part(minutes, "min");
    part(rest, "s");
    return text;
}

ClockCheck checkUnitClock(uint32_t unitClock, uint32_t pcUnitTime)
{
    ClockCheck check;
    check.offset = int64_t(unitClock) - int64_t(pcUnitTime);
    const int64_t distance = check.offset < 0 ? -check.offset : check.offset;
    check.warn = distance > kClockToleranceSeconds;
    if (check.warn)
        check.tooltip = formatC("The unit's clock is %s %s the PC's UTC time; double-click to set it to now",
                                timeSpanText(distance).c_str(), check.offset < 0 ? "behind" : "ahead of");
    return check;
}

}  // namespace ravo
