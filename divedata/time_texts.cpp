#include "divedata/time_texts.h"

#include <cmath>

#include "divedata/detail/text_format_p.h"

namespace ravo {

std::string MinutesLabel(double seconds)
{
    const double minutes = seconds / 60.0;
    if (std::fabs(minutes - std::round(minutes)) < 1e-9)
        return detail::textC("%.0f", std::round(minutes));
    return detail::textC("%.1f", minutes);
}

std::string MinutesSecondsText(uint64_t seconds)
{
    return detail::textC("%llu:%02u", static_cast<unsigned long long>(seconds / 60), unsigned(seconds % 60));
}

std::string DurationText(uint64_t seconds)
{
    if (seconds >= 3600)
        return detail::textC("%llu:%02u:%02u", static_cast<unsigned long long>(seconds / 3600),
                             unsigned(seconds / 60 % 60), unsigned(seconds % 60));
    return detail::textC("%u:%02u", unsigned(seconds / 60), unsigned(seconds % 60));
}

}  // namespace ravo
