#pragma once
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <cstdint>
#include <thread>

namespace ravo {

// A minimal thread base: owns the thread last started and its stop event; the
// thread body is the virtual Run. Derived classes must call waitForThread()
// in their own destructor, before their members go away.
class CAG_Thread {
public:
    CAG_Thread() = default;
    virtual ~CAG_Thread();
    CAG_Thread(const CAG_Thread&) = delete;
    CAG_Thread& operator=(const CAG_Thread&) = delete;

    virtual int32_t Run() = 0;

    // True while the thread started last has not yet finished Run.
    bool threadRunning() const { return running_.load(); }
    // Exit code of the thread last finished (the result of its Run).
    int32_t exitCode() const { return exitCode_.load(); }
    uint32_t threadId() const { return threadId_; }
    // Waits until the thread started last has finished; false when `realMs`
    // passed first.
    bool waitFinished(uint32_t realMs);
    bool stopEventSignalled() const { return stopEvent_.load(); }

protected:
    // Starts Run on a new thread one step above normal priority, unless the
    // thread started last is still running. Never blocks.
    bool startThread();
    // Signals the stop event and waits, without a time limit, for the thread.
    void waitForThread();

private:
    std::thread thread_;
    uint32_t threadId_ = 0;
    std::atomic<bool> stopEvent_{false};
    std::atomic<bool> running_{false};
    std::atomic<int32_t> exitCode_{0};
    std::mutex finishedMutex_;
    std::condition_variable finished_;
};

}  // namespace ravo
