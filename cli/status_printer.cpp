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

StatusPrinter::StatusPrinter(OutputMode mode, Clock& clock)
    : mode_(mode), clock_(clock), interactive_(isatty(fileno(stderr)) != 0)
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
    if (progress_.kind == ProgressKind::LogRecords) {
        uint64_t total = batch_ ? batchTotal_ : progress_.total;
        uint64_t done = (batch_ ? batchDone_ : 0) + progress_.done;
        text = recordBarText(done, total, now - startMs_);
    } else {
        text = percentBarText(progress_.percent);
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

void StatusPrinter::statusLine(const std::string& text)
{
    std::FILE* out = mode_.statusStream();
    if (!out)
        return;
    eraseBar();
    std::fprintf(out, "%s\n", text.c_str());
    std::fflush(out);
    // On a terminal the bar stays under the lines; in a log file it is only
    // drawn again when it moves.
    if (barShown_ && interactive_) {
        std::fprintf(stderr, "%s", barText_.c_str());
        std::fflush(stderr);
    }
}

void StatusPrinter::progress(const JobProgress& progress)
{
    if (mode_.quiet)
        return;
    if (!barShown_ && !batch_)
        startMs_ = clock_.nowMs();
    const bool changed = progress.percent != progress_.percent || progress.kind != progress_.kind;
    progress_ = progress;
    if (changed || !barShown_ || (interactive_ && clock_.nowMs() - drawnMs_ >= kRedrawMs))
        drawBar();
}

void StatusPrinter::directoryRead(const LogDirectory& read)
{
    directory = read;
}

void StatusPrinter::jobFinished(const JobOutcome&)
{
    // The job's bar ends with it; a batch keeps its bar up across downloads.
    if (!batch_)
        endBar();
}

}  // namespace ravo::cli
