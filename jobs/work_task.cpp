#include "jobs/work_task.h"

#include "jobs/job_bodies.h"
#include "jobs/job_context.h"
#include "jobs/thread_priority.h"
#include "link/c_format.h"

namespace ravo {
namespace {

// The unit's answers are reported at most this often (link clock): enough for
// the "ONLINE" indicator, without an event per block of a download.
constexpr uint64_t kAnswerEventMs = 250;

// Frames in a row without a reply after which a job that had replies counts
// the unit as gone (a lone unanswered request is a bad frame, not a lost unit).
constexpr int kUnansweredForLoss = 3;

}  // namespace

WorkTask::WorkTask() = default;

WorkTask::~WorkTask()
{
    // The thread uses the link and the records: it must end before they go.
    if (thread_.joinable())
        thread_.join();
}

bool WorkTask::start(JobRequest request, JobEvents& events)
{
    if (running_)
        return false;
    if (thread_.joinable()) {
        // A start from the job's own jobFinished cannot wait for its thread.
        if (thread_.get_id() == std::this_thread::get_id())
            return false;
        thread_.join();  // past jobFinished already: it ends at once
    }
    running_ = true;
    {
        std::lock_guard lock(mutex_);
        threadEnded_ = false;
    }
    thread_ = std::thread([this, request = std::move(request), &events]() mutable {
        raiseCurrentThreadPriority();
        run(std::move(request), events);
    });
    return true;
}

void WorkTask::run(JobRequest request, JobEvents& events)
{
    events_ = &events;
    link_.activity = this;
    JobOutcome outcome = runRequest(request, events);
    link_.activity = nullptr;
    events_ = nullptr;
    stopRequested_ = false;
    {
        std::lock_guard lock(mutex_);
        lastOutcome_ = outcome;
    }
    running_ = false;
    events.jobFinished(outcome);
    {
        std::lock_guard lock(mutex_);
        threadEnded_ = true;
    }
    ended_.notify_all();
}

bool WorkTask::waitFinished(uint32_t realMs)
{
    std::unique_lock lock(mutex_);
    return ended_.wait_for(lock, std::chrono::milliseconds(realMs), [this] { return threadEnded_; });
}

JobOutcome WorkTask::lastOutcome() const
{
    std::lock_guard lock(mutex_);
    return lastOutcome_;
}

std::string WorkTask::lastLine() const
{
    std::lock_guard lock(mutex_);
    return lastLine_;
}

JobOutcome WorkTask::runRequest(const JobRequest& request, JobEvents& events)
{
    repliesThisJob_ = 0;
    unansweredInARow_ = 0;
    lastFrameUnanswered_ = false;
    answerEventSent_ = false;
    JobContext job(link_, events, stopRequested_, keepLinkOpen_, versions_);
    job.unitNumber = link_.unitNumber;
    JobOutcome outcome = std::visit([&](const auto& r) { return connectAndRun(r, job); }, request);
    outcome.kind = jobKindOf(request);
    std::lock_guard lock(mutex_);
    lastLine_ = job.lastLine();
    return outcome;
}

template <typename Request>
JobOutcome WorkTask::connectAndRun(const Request& request, JobContext& job)
{
    JobOutcome outcome;
    // A request that names a unit talks to it: the connect steps come first.
    constexpr bool talksToUnit = requires { request.unit; };
    if constexpr (talksToUnit) {
        if constexpr (requires { request.keepLinkOpen; })
            keepLinkOpen_ = request.keepLinkOpen;
        if (connectSteps(job, outcome, request.unit) != 0) {
            outcome.result = decltype(runJob(job, request)){};
            return outcome;
        }
    }
    outcome.result = runJob(job, request);
    // A helper drives the link step by step: its next step decides.
    if constexpr (!std::is_same_v<Request, LinkTaskRequest>)
        closeIfUnitWentAway(job);
    if constexpr (talksToUnit) {
        if (!keepLinkOpen_)
            link_.Close();
    }
    return outcome;
}

int WorkTask::connectSteps(JobContext& job, JobOutcome& outcome, uint16_t unit)
{
    job.unitNumber = unit;
    if (link_.unitNumber != unit) {
        link_.unitNumber = unit;
        link_.Close();
        resetUnitInformation();
    }
    // A far end that went away while the link stood open (a unit restarted,
    // a bridge stopped) leaves a dead connection: open a fresh one.
    if (link_.isOpen() && link_.PeerHungUp()) {
        link_.Close();
        reportLinkLost("the far end closed the connection");
    }
    if (!link_.IsConnected())
        resetUnitInformation();

    if (link_.Open() != 0) {
        failConnect(job, outcome, "Can not open IrDA socket. Please check if IrDA unit is connected.");
        outcome.connect = -1;
        return outcome.connect;
    }
    if (link_.Connect() != 0) {
        failConnect(job, outcome, "Can not find any IrDA unit. Please check that unit is on.");
        outcome.connect = -2;
        return outcome.connect;
    }
    outcome.linkText = link_.PeerDescription();
    job.firmwareLine("%s", "");
    job.line("Connect to unit %04X [%s]", unsigned(unit), outcome.linkText.c_str());
    if (!link_.IsConnected()) {
        outcome.linkText = link_.lastError;
        job.line("No connection with unit. Verify the unit is %04X", unsigned(unit));
        link_.Close();
        outcome.connect = -3;
        return outcome.connect;
    }
    return 0;
}

void WorkTask::failConnect(JobContext& job, JobOutcome& outcome, const char* text)
{
    // The link's reason is kept past the close and the reset, which would
    // otherwise leave the user no hint of what failed.
    std::string reason = link_.lastError;
    job.line("%s", text);
    link_.Close();
    resetUnitInformation();
    outcome.linkText = reason;
}

void WorkTask::resetUnitInformation()
{
    versions_.clear();
    stopRequested_ = false;
}

void WorkTask::closeIfUnitWentAway(JobContext& job)
{
    if (!link_.isOpen() || !lastFrameUnanswered_)
        return;
    const int unanswered = unansweredInARow_ + 1;
    if (repliesThisJob_ > 0 && unanswered < kUnansweredForLoss)
        return;
    // The next request then connects afresh instead of talking into a dead link.
    link_.Close();
    reportLinkLost(formatC("unit %04X did not answer", unsigned(job.unitNumber)));
}

void WorkTask::reportLinkLost(const std::string& reason)
{
    answerEventSent_ = false;
    if (events_)
        events_->linkState({LinkEvent::LinkLost, reason});
}

void WorkTask::frameSent()
{
    if (lastFrameUnanswered_)
        ++unansweredInARow_;
    lastFrameUnanswered_ = true;
}

void WorkTask::replyReceived()
{
    ++repliesThisJob_;
    unansweredInARow_ = 0;
    lastFrameUnanswered_ = false;
    const uint64_t now = link_.clock().nowMs();
    if (answerEventSent_ && now - lastAnswerEventMs_ < kAnswerEventMs)
        return;
    answerEventSent_ = true;
    lastAnswerEventMs_ = now;
    if (events_)
        events_->linkState({LinkEvent::UnitAnswered, {}});
}

void WorkTask::setLinkAddress(const std::string& address)
{
    link_.setAddress(address);
}

std::string WorkTask::linkAddress() const
{
    return link_.address();
}

void WorkTask::setClock(Clock* clock)
{
    link_.setClock(clock);
}

void WorkTask::setTrace(std::shared_ptr<LinkTrace> trace)
{
    link_.trace = std::move(trace);
}

bool WorkTask::closeLink()
{
    if (running_)
        return false;
    keepLinkOpen_ = false;
    link_.Close();
    return true;
}

std::string WorkTask::transportError() const
{
    return link_.transportError;
}

UnitVersions WorkTask::versions() const
{
    return versions_;
}

}  // namespace ravo
