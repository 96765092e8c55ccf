#include "support/recording_receiver.h"

#include <algorithm>
#include <chrono>

namespace ravo::test {

intptr_t RecordingReceiver::sendMessage(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    std::unique_lock lock(mutex_);
    std::string text;
    if ((message == UM_STATUS_TEXT || message == UM_FIRMWARE_TEXT) && lParam)
        text = reinterpret_cast<const char*>(lParam);
    else if (message == UM_UNIT_FOUND && lParam)
        text = *reinterpret_cast<const std::string*>(lParam);
    entries_.push_back({message, wParam, text});
    if (message == UM_STATUS_TEXT && hold_) {
        holding_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return !hold_; });
        holding_ = false;
    }
    return 1;
}

std::vector<RecordingReceiver::Entry> RecordingReceiver::entries() const
{
    std::lock_guard lock(mutex_);
    return entries_;
}

std::vector<std::string> RecordingReceiver::lines() const
{
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    for (const Entry& e : entries_)
        if (e.message == UM_STATUS_TEXT)
            out.push_back(e.text);
    return out;
}

bool RecordingReceiver::hasLine(const std::string& text) const
{
    auto all = lines();
    return std::find(all.begin(), all.end(), text) != all.end();
}

void RecordingReceiver::holdStatusLines()
{
    std::lock_guard lock(mutex_);
    hold_ = true;
}

bool RecordingReceiver::waitHeld(int realMs)
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(realMs), [this] { return holding_; });
}

void RecordingReceiver::release()
{
    std::lock_guard lock(mutex_);
    hold_ = false;
    changed_.notify_all();
}

}  // namespace ravo::test
