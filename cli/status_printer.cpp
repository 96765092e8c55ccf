#include "cli/status_printer.h"

#include <cstdio>
#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

#include "cli/progress_bar.h"

namespace ravo::cli {
namespace {

// A bar is redrawn at most this often, unless its percent changes.
constexpr uint64_t kRedrawMs = 200;

}  // namespace

StatusPrinter::StatusPrinter(OutputMode mode, const WorkTask& worker, Clock& clock)
    : mode_(mode), worker_(worker), clock_(clock), interactive_(isatty(fileno(stderr)) != 0)
{
}

StatusPrinter::~StatusPrinter()
{
    endBar();
}

void StatusPrinter::setBatch(uint64_t doneBefore, uint64_t total)
{
    if (!batch_)
        startMs_ = clock_.nowMs();
    batch_ = true;
    batchDone_ = doneBefore;
    batchTotal_ = total;
}

void StatusPrinter::endBar()
{
    if (barShown_)
        std::fputc('\n', stderr);
    barShown_ = false;
    barText_.clear();
    batch_ = false;
}

void StatusPrinter::eraseBar()
{
    if (barShown_ && interactive_)
        std::fprintf(stderr, "\r%*s\r", int(barText_.size()), "");
}

void StatusPrinter::drawBar()
{
    uint64_t now = clock_.nowMs();
    std::string text;
    uint64_t total = batch_ ? batchTotal_ : worker_.progressTotal.load();
    if (total > 0) {
        uint64_t done = (batch_ ? batchDone_ : 0) + worker_.progressRecords.load();
        text = recordBarText(done, total, now - startMs_);
    } else {
        text = percentBarText(percent_);
    }
    if (text == barText_)
        return;
    // A shorter line must cover the longer one before it.
    size_t width = barText_.size();
    barText_ = text;
    drawnMs_ = now;
    barShown_ = true;
    std::fprintf(stderr, "\r%-*s", int(std::max(width, text.size())), text.c_str());
    std::fflush(stderr);
}

void StatusPrinter::printStatus(const char* text)
{
    std::FILE* out = mode_.statusStream();
    if (!out)
        return;
    eraseBar();
    std::fprintf(out, "%s\n", text ? text : "");
    std::fflush(out);
    // On a terminal the bar stays under the lines; in a log file it is only
    // drawn again when it moves.
    if (barShown_ && interactive_) {
        std::fprintf(stderr, "%s", barText_.c_str());
        std::fflush(stderr);
    }
}

intptr_t StatusPrinter::sendMessage(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case UM_STATUS_TEXT:
        printStatus(reinterpret_cast<const char*>(lParam));
        break;
    case UM_PROGRESS: {
        if (mode_.quiet)
            break;
        int percent = int(wParam);
        // 0 ends a download's bar, as the view hides its progress bar; a batch
        // keeps its bar up across downloads.
        if (percent == 0) {
            if (!batch_)
                endBar();
            break;
        }
        if (!barShown_ && !batch_)
            startMs_ = clock_.nowMs();
        bool changed = percent != percent_;
        percent_ = percent;
        if (changed || !barShown_ || (interactive_ && clock_.nowMs() - drawnMs_ >= kRedrawMs))
            drawBar();
        break;
    }
    default:
        break;
    }
    return 1;
}

}  // namespace ravo::cli
