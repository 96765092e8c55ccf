#include "jobs/job_context.h"

#include <algorithm>
#include <cstdarg>

#include "link/c_format.h"

namespace ravo {
namespace {

// A line as the unit's texts are formatted: printf rules, C locale, cut to
// kLineMax characters.
std::string lineText(const char* format, va_list args)
{
    char text[JobContext::kLineMax + 1];
    vformatC(text, sizeof text, format, args);
    return text;
}

}  // namespace

JobContext::JobContext(CIrComm& l, JobEvents& e, const std::atomic<bool>& stop, std::atomic<bool>& keep,
                       UnitVersions& v)
    : link(l), events(e), versions(v), keepLinkOpen(keep), stop_(stop)
{
}

void JobContext::line(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    lastLine_ = lineText(format, args);
    va_end(args);
    events.statusLine(lastLine_);
}

void JobContext::firmwareLine(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string text = lineText(format, args);
    va_end(args);
    events.firmwareText(text);
}

bool JobContext::stopCheck()
{
    if (!stopRequested())
        return false;
    line("User stopped....");
    return true;
}

void JobContext::logProgress(uint32_t records, uint32_t total)
{
    uint64_t done = records;
    uint64_t all = total;
    if (batchTotal) {
        done += batchBefore;
        all = batchTotal;
    }
    done = std::min(done, all);
    JobProgress p;
    p.kind = ProgressKind::LogRecords;
    p.done = uint32_t(std::min<uint64_t>(done, UINT32_MAX));
    p.total = uint32_t(std::min<uint64_t>(all, UINT32_MAX));
    p.percent = all ? int(done * 100 / all) : 100;
    events.progress(p);
}

void JobContext::firmwareProgress(int chunk, int chunks, int percent)
{
    JobProgress p;
    p.kind = ProgressKind::FirmwareChunks;
    p.done = uint32_t(std::max(chunk, 0));
    p.total = uint32_t(std::max(chunks, 0));
    p.percent = std::clamp(percent, 0, 100);
    events.progress(p);
}

}  // namespace ravo
