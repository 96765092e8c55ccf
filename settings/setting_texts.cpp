#include "settings/setting_texts.h"

#include "link/c_format.h"
#include "link/unit_time.h"

namespace ravo {

bool serviceNeeded(uint32_t serviceTime, uint32_t rtcTime)
{
    // 728 days; the sum wraps at 32 bits, as the unit's arithmetic does.
    const uint32_t servicePeriod = 62899200u;
    return serviceTime == 0xFFFFFFFFu || serviceTime > rtcTime || uint32_t(serviceTime + servicePeriod) < rtcTime;
}

std::string serviceTimeText(uint32_t serviceTime, uint32_t rtcTime)
{
    if (serviceNeeded(serviceTime, rtcTime))
        return "-- service needed --";
    return FormatUnitTime(serviceTime);
}

std::string noFlyText(uint32_t timeToFly, uint32_t rtcTime)
{
    if (timeToFly == 0xFFFFFFFFu || timeToFly < rtcTime)
        return "-- no limit --";
    return FormatUnitTime(timeToFly);
}

std::string mouthpieceText(int32_t position)
{
    switch (position & 0xFF) {
    case 0: return "Open Circuit";
    case 1: return "Closed Circuit";
    case 2: return "Indeterminate";
    default: return "Unknown";
    }
}

std::string batteryTypeText(int32_t type)
{
    switch (type) {
    case 0: return "Unknown information not avalible yet (test 39)";
    case 1: return "40m No Deco (Green)";
    case 2: return "40m Deco (Yellow)";
    case 3: return "48m Trimix (Blue)";
    case 4: return "60m No Restriction (Black)";
    case 5: return "60m Trimix (White)";
    default: return "Unknown type";
    }
}

std::string moduleTypeText(int32_t type)
{
    switch (type) {
    case 0: return "Unknown information not avalible yet (test 39)";
    case 1: return "Standard unit (max 48m)";
    case 2: return "Enhanced unit (max 60m)";
    default: return "Unknown type";
    }
}

std::string systemModeText(int32_t mode, int32_t testNumber, int32_t errorCode)
{
    std::string text;
    switch (mode) {
    case 0: text = "Power up self test"; break;
    case 1: text = "Pre dive test"; break;
    case 2: return "Ready to dive";
    case 3: return "Dive";
    default: return "Unknown mode";
    }
    text += formatC(" : Test number %d", testNumber);
    if (errorCode != 255)
        text += formatC(" : Error %d", errorCode);
    return text;
}

}  // namespace ravo
