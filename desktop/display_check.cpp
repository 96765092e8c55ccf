#include "desktop/display_check.h"

#include <cstdlib>

namespace ravo::desktop {
namespace {

bool isSet(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

}  // namespace

bool prepareDisplay(std::string& why)
{
#if defined(_WIN32) || defined(__APPLE__)
    (void)why;
    return true;
#else
    if (isSet("QT_QPA_PLATFORM"))
        return true;
    const bool wayland = isSet("WAYLAND_DISPLAY");
    if (!wayland && !isSet("DISPLAY")) {
        why = "no display to open a window on (DISPLAY and WAYLAND_DISPLAY are not set)";
        return false;
    }
    setenv("QT_QPA_PLATFORM", wayland ? "wayland;xcb;minimal" : "xcb;minimal", 1);
    return true;
#endif
}

bool displayUnusable(const std::string& platformName)
{
    return platformName == "minimal";
}

std::string noDisplayMessage(const std::string& why)
{
    return "ravo-config: " + why + "; use ravo-cli to work with the unit from a terminal (ravo-cli --help).";
}

}  // namespace ravo::desktop
