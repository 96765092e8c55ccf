#pragma once
#include <cstdint>
#include <string>

#include "cli/cli_context.h"
#include "jobs/job_events.h"
#include "link/clock.h"

namespace ravo::cli {

// The command line's receiver of a job's events: status lines go where the
// output mode says, exactly as formatted; progress goes to standard error as
// a bar, by records for the log downloads, else by percent, and ends with the
// job. Under --quiet nothing is shown. The directory a job reads is kept.
class StatusPrinter : public JobEvents {
public:
    explicit StatusPrinter(OutputMode mode, Clock& clock = systemClock());
    ~StatusPrinter() override;

    void statusLine(const std::string& text) override;
    void progress(const JobProgress& progress) override;
    void directoryRead(const LogDirectory& read) override;
    void jobFinished(const JobOutcome& outcome) override;

    // Several downloads under one bar: `doneBefore` records finished before
    // the current download, `total` records in all. The bar then stays up
    // between downloads until endBar().
    void setBatch(uint64_t doneBefore, uint64_t total);
    // Ends a shown bar with a line end.
    void endBar();

    // The directory the last directory job read.
    LogDirectory directory;

protected:
    OutputMode mode_;

private:
    void drawBar();
    void eraseBar();

    Clock& clock_;
    bool batch_ = false;
    uint64_t batchDone_ = 0;
    uint64_t batchTotal_ = 0;
    uint64_t startMs_ = 0;
    bool barShown_ = false;
    JobProgress progress_;
    std::string barText_;
    uint64_t drawnMs_ = 0;
    bool interactive_;  // standard error is a terminal
};

}  // namespace ravo::cli
