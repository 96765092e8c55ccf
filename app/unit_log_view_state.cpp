#include "app/unit_log_view_state.h"

#include "jobs/log_directory_text.h"
#include "link/c_format.h"

namespace ravo {

UnitLogViewState unitLogViewState(const FrameState& frame, LogKind kind)
{
    UnitLogViewState state;
    const JobStatus& job = frame.job;
    const bool redbox = kind == LogKind::Redbox;
    state.idle = !job.running;
    if (!job.running) {
        state.lastResult = redbox ? frame.redboxDownloadNote : frame.diveDownloadNote;
        const LogDirectory& directory = frame.directory(kind);
        if (!directory.complete()) {
            if (!state.lastResult.empty())
                state.lastResult += "; ";
            state.lastResult += DirectoryGapText(directory);
        }
        return state;
    }
    state.directoryBeingRead = job.kind == (redbox ? JobKind::RedboxDirectory : JobKind::DiveDirectory);
    state.downloading = job.kind == (redbox ? JobKind::RedboxLog : JobKind::DiveLogs);
    if (!state.downloading)
        return state;
    // Only this view's kind of progress, and nothing of an earlier job: a
    // download shows its bar once it has said how far it is.
    const JobProgress progress = job.progressOf(ProgressKind::LogRecords);
    state.progressShown = progress.total > 0;
    state.records = progress.done;
    state.total = progress.total;
    if (state.progressShown)
        state.progressText = formatC("Records %u of %u", unsigned(state.records), unsigned(state.total));
    return state;
}

std::string nothingNewText(const LogDirectory& dives)
{
    if (dives.complete())
        return "Every dive is saved";
    return "Every dive listed is saved; " + DirectoryGapText(dives);
}

}  // namespace ravo
