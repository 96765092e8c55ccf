#pragma once
#include <string>

namespace ravo::desktop {

// Decides, before the toolkit starts (which would abort the program where it
// cannot open a window), how the window is opened. Where the user chose no
// platform, the platform for the display found is tried with "minimal"
// behind it, so a display that cannot be reached ends in the program's own
// message instead of an abort. False, with the reason in `why`, when there
// is no display at all.
bool prepareDisplay(std::string& why);

// True when the toolkit fell back to the window-less platform.
bool displayUnusable(const std::string& platformName);

// The one line printed where no window can be opened.
std::string noDisplayMessage(const std::string& why);

}  // namespace ravo::desktop
