#include "jobs/ag_thread.h"

#ifndef _WIN32
#include <cerrno>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#else
#include <windows.h>
#endif

namespace ravo {
namespace {

uint32_t raiseCurrentThreadPriority()
{
#ifdef _WIN32
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
    return ::GetCurrentThreadId();
#else
    // One step above normal is one nice level lower. Without the right to
    // raise priority the call fails and the job simply runs at normal priority.
    pid_t tid = pid_t(::syscall(SYS_gettid));
    errno = 0;
    int nice = ::getpriority(PRIO_PROCESS, id_t(tid));
    if (errno == 0)
        ::setpriority(PRIO_PROCESS, id_t(tid), nice - 1);
    return uint32_t(tid);
#endif
}

}  // namespace

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
