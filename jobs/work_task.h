#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "jobs/job_events.h"
#include "jobs/job_requests.h"
#include "jobs/job_results.h"
#include "jobs/unit_versions.h"
#include "link/ir_comm.h"

namespace ravo {

class JobContext;
class LinkTrace;

// The one worker: runs one job against the unit at a time on a thread of its
// own (one step above normal priority), and is the only way to the unit
// link. A job is one request; it reports through the JobEvents given with it
// and ends with jobFinished, carrying its result. The worker only connects
// the link and dispatches; each job's body lives in its own file.
class WorkTask : private LinkActivity {
public:
    WorkTask();
    // Waits for a running job: it is not told to stop (the owner does that first).
    ~WorkTask() override;
    WorkTask(const WorkTask&) = delete;
    WorkTask& operator=(const WorkTask&) = delete;

    // Starts the job of `request`, reporting to `events` (which must outlive
    // it), unless a job runs: then nothing starts and the result is false.
    // Never waits on the job.
    bool start(JobRequest request, JobEvents& events);
    // From a start until the job has ended (set back just before jobFinished
    // is sent, so a start from within jobFinished's handling is accepted).
    bool running() const { return running_.load(); }
    // Waits up to `realMs` until the thread has ended, jobFinished delivered.
    bool waitFinished(uint32_t realMs);
    // The outcome of the last job that ended.
    JobOutcome lastOutcome() const;
    // The last status line of the last job.
    std::string lastLine() const;

    // Asks the running job to stop at its next stop check. A request while no
    // job runs stays until a job ends (or one begins on a fresh connection).
    void requestStop() { stopRequested_ = true; }
    bool stopRequested() const { return stopRequested_.load(); }

    // Leave the link open when a job ends (the read jobs' requests set it).
    void setKeepLinkOpen(bool keep) { keepLinkOpen_ = keep; }
    bool keepLinkOpen() const { return keepLinkOpen_.load(); }

    // --- the link between jobs (refused while a job runs) ---
    void setLinkAddress(const std::string& address);
    std::string linkAddress() const;
    void setClock(Clock* clock);
    Clock& clock() const { return link_.clock(); }
    void setTrace(std::shared_ptr<LinkTrace> trace);
    // Reply waits wake as soon as bytes arrive (true), or sleep their pauses.
    void setWakeOnData(bool wake) { link_.wakeOnData = wake; }
    bool linkOpen() const { return link_.isOpen(); }
    // keepLinkOpen := false and the link closed; false (nothing done) while a job runs.
    bool closeLink();
    // What the transport said when it last failed to open, search or connect.
    std::string transportError() const;
    // The unit's versions as last read on this link (all 0 before).
    UnitVersions versions() const;

    // The link itself, for the worker's own helpers that drive it step by step
    // (WorkerEditHost), only while no job runs and only through jobs.
    CIrComm& linkForHelpers() { return link_; }

private:
    void run(JobRequest request, JobEvents& events);
    JobOutcome runRequest(const JobRequest& request, JobEvents& events);
    template <typename Request>
    JobOutcome connectAndRun(const Request& request, JobContext& job);
    int connectSteps(JobContext& job, JobOutcome& outcome, uint16_t unit);
    void failConnect(JobContext& job, JobOutcome& outcome, const char* text);
    void resetUnitInformation();
    void closeIfUnitWentAway(JobContext& job);
    void reportLinkLost(const std::string& reason);

    // LinkActivity: the unit's answers become link events.
    void frameSent() override;
    void replyReceived() override;

    CIrComm link_;
    UnitVersions versions_;
    std::atomic<bool> running_{false};
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> keepLinkOpen_{false};
    std::thread thread_;
    mutable std::mutex mutex_;
    std::condition_variable ended_;
    bool threadEnded_ = true;
    JobOutcome lastOutcome_;
    std::string lastLine_;

    // Followed while a job runs (its thread only).
    JobEvents* events_ = nullptr;
    int repliesThisJob_ = 0;
    int unansweredInARow_ = 0;
    bool lastFrameUnanswered_ = false;
    uint64_t lastAnswerEventMs_ = 0;
    bool answerEventSent_ = false;
};

}  // namespace ravo
