#include "cli/status_printer.h"

#include <cstdio>

namespace ravo::cli {

intptr_t StatusPrinter::sendMessage(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case UM_STATUS_TEXT:
        if (lastPercent_ >= 0) {
            std::fputc('\n', stderr);
            lastPercent_ = -1;
        }
        std::printf("%s\n", lParam ? reinterpret_cast<const char*>(lParam) : "");
        std::fflush(stdout);
        break;
    case UM_PROGRESS: {
        int percent = int(wParam);
        if (percent == lastPercent_)
            break;
        // 0 ends the bar (sent after a download), as the view hides its progress bar.
        if (percent == 0) {
            if (lastPercent_ > 0)
                std::fputc('\n', stderr);
            lastPercent_ = -1;
            break;
        }
        lastPercent_ = percent;
        int filled = percent * 40 / 100;
        std::fprintf(stderr, "\r[%-40.*s] %3d%%", filled, "########################################", percent);
        std::fflush(stderr);
        break;
    }
    default:
        break;
    }
    return 1;
}

}  // namespace ravo::cli
