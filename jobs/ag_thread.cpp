#include "jobs/ag_thread.h"

#include "jobs/thread_priority.h"

namespace ravo {

CAG_Thread::~CAG_Thread()
{
    waitForThread();
}

bool CAG_Thread::startThread()
{
    if (running_.load())
        return false;
    if (thread_.joinable())
        thread_.join();  // finished already: its Run has returned
    stopEvent_ = false;
    running_ = true;
    thread_ = std::thread([this] {
        raiseCurrentThreadPriority();
        exitCode_ = Run();
        std::lock_guard lock(finishedMutex_);
        running_ = false;
        finished_.notify_all();
    });
    threadId_ = uint32_t(std::hash<std::thread::id>{}(thread_.get_id()));
    return true;
}

bool CAG_Thread::waitFinished(uint32_t realMs)
{
    std::unique_lock lock(finishedMutex_);
    return finished_.wait_for(lock, std::chrono::milliseconds(realMs), [this] { return !running_.load(); });
}

void CAG_Thread::waitForThread()
{
    stopEvent_ = true;
    if (thread_.joinable())
        thread_.join();
}

}  // namespace ravo
