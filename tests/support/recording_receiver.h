#pragma once
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "link/messages.h"

namespace ravo::test {

// Records every message the worker or the link sends, keeping status texts.
// With `holdStatusLines` set it blocks inside the first status line until
// release() is called, so a test can act while a job is running.
class RecordingReceiver : public MessageReceiver {
public:
    struct Entry {
        unsigned message;
        uintptr_t wParam;
        std::string text;
    };

    intptr_t sendMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;

    std::vector<Entry> entries() const;
    std::vector<std::string> lines() const;
    bool hasLine(const std::string& text) const;

    void holdStatusLines();
    // Waits (real time, bounded) until a status line is being held.
    bool waitHeld(int realMs = 5000);
    void release();

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Entry> entries_;
    bool hold_ = false;
    bool holding_ = false;
};

}  // namespace ravo::test
