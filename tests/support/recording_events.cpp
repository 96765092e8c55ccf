#include "support/recording_events.h"

#include <algorithm>
#include <chrono>

#include "link/c_format.h"

namespace ravo::test {

void RecordingEvents::add(Entry entry)
{
    std::lock_guard lock(mutex_);
    entries_.push_back(std::move(entry));
}

void RecordingEvents::statusLine(const std::string& text)
{
    if (onLine)
        onLine(text);
    std::unique_lock lock(mutex_);
    entries_.push_back({Kind::Status, text, {}});
    if (hold_) {
        holding_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return !hold_; });
        holding_ = false;
    }
}

void RecordingEvents::firmwareText(const std::string& text)
{
    add({Kind::FirmwareText, text, {}});
}

void RecordingEvents::progress(const JobProgress& p)
{
    add({Kind::Progress, {}, p});
}

void RecordingEvents::unitFound(uint16_t unit)
{
    add({Kind::UnitFound, formatC("%04X", unsigned(unit)), {}});
}

void RecordingEvents::logDownloaded(const CDiveLog& log)
{
    std::lock_guard lock(mutex_);
    entries_.push_back({Kind::Log, {}, {}});
    logs_.push_back(log);
}

void RecordingEvents::directoryRead(const LogDirectory& directory)
{
    std::lock_guard lock(mutex_);
    entries_.push_back({Kind::Directory, {}, {}});
    directories_.push_back(directory);
}

void RecordingEvents::linkState(const LinkEvent& event)
{
    std::lock_guard lock(mutex_);
    entries_.push_back({Kind::Link, event.reason, {}});
    links_.push_back(event);
}

void RecordingEvents::jobFinished(const JobOutcome& outcome)
{
    std::lock_guard lock(mutex_);
    entries_.push_back({Kind::Finished, {}, {}});
    outcome_ = outcome;
}

std::vector<RecordingEvents::Entry> RecordingEvents::entries() const
{
    std::lock_guard lock(mutex_);
    return entries_;
}

std::vector<RecordingEvents::Kind> RecordingEvents::kinds() const
{
    std::vector<Kind> out;
    for (const Entry& e : entries())
        out.push_back(e.kind);
    return out;
}

std::vector<std::string> RecordingEvents::lines() const
{
    std::vector<std::string> out;
    for (const Entry& e : entries())
        if (e.kind == Kind::Status)
            out.push_back(e.text);
    return out;
}

bool RecordingEvents::hasLine(const std::string& text) const
{
    auto all = lines();
    return std::find(all.begin(), all.end(), text) != all.end();
}

std::vector<JobProgress> RecordingEvents::progressEvents() const
{
    std::vector<JobProgress> out;
    for (const Entry& e : entries())
        if (e.kind == Kind::Progress)
            out.push_back(e.progress);
    return out;
}

std::vector<CDiveLog> RecordingEvents::logs() const
{
    std::lock_guard lock(mutex_);
    return logs_;
}

std::vector<LogDirectory> RecordingEvents::directories() const
{
    std::lock_guard lock(mutex_);
    return directories_;
}

std::vector<LinkEvent> RecordingEvents::linkEvents() const
{
    std::lock_guard lock(mutex_);
    return links_;
}

std::optional<JobOutcome> RecordingEvents::outcome() const
{
    std::lock_guard lock(mutex_);
    return outcome_;
}

void RecordingEvents::clear()
{
    std::lock_guard lock(mutex_);
    entries_.clear();
    logs_.clear();
    directories_.clear();
    links_.clear();
    outcome_.reset();
}

void RecordingEvents::holdStatusLines()
{
    std::lock_guard lock(mutex_);
    hold_ = true;
}

bool RecordingEvents::waitHeld(int realMs)
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(realMs), [this] { return holding_; });
}

void RecordingEvents::release()
{
    std::lock_guard lock(mutex_);
    hold_ = false;
    changed_.notify_all();
}

void RelayEvents::statusLine(const std::string& text)
{
    RecordingEvents::statusLine(text);
    target_.statusLine(text);
}

void RelayEvents::firmwareText(const std::string& text)
{
    RecordingEvents::firmwareText(text);
    target_.firmwareText(text);
}

void RelayEvents::progress(const JobProgress& p)
{
    RecordingEvents::progress(p);
    target_.progress(p);
}

void RelayEvents::unitFound(uint16_t unit)
{
    RecordingEvents::unitFound(unit);
    target_.unitFound(unit);
}

void RelayEvents::logDownloaded(const CDiveLog& log)
{
    RecordingEvents::logDownloaded(log);
    target_.logDownloaded(log);
}

void RelayEvents::directoryRead(const LogDirectory& directory)
{
    RecordingEvents::directoryRead(directory);
    target_.directoryRead(directory);
}

void RelayEvents::linkState(const LinkEvent& event)
{
    RecordingEvents::linkState(event);
    target_.linkState(event);
}

void RelayEvents::jobFinished(const JobOutcome& outcome)
{
    RecordingEvents::jobFinished(outcome);
    target_.jobFinished(outcome);
}

void EventQueue::push(std::function<void(JobEvents&)> event)
{
    std::lock_guard lock(mutex_);
    events_.push_back(std::move(event));
}

void EventQueue::statusLine(const std::string& text)
{
    push([text](JobEvents& t) { t.statusLine(text); });
    if (onLine)
        onLine(text);
}

void EventQueue::firmwareText(const std::string& text)
{
    push([text](JobEvents& t) { t.firmwareText(text); });
}

void EventQueue::progress(const JobProgress& p)
{
    push([p](JobEvents& t) { t.progress(p); });
}

void EventQueue::unitFound(uint16_t unit)
{
    push([unit](JobEvents& t) { t.unitFound(unit); });
}

void EventQueue::logDownloaded(const CDiveLog& log)
{
    push([log](JobEvents& t) { t.logDownloaded(log); });
}

void EventQueue::directoryRead(const LogDirectory& directory)
{
    push([directory](JobEvents& t) { t.directoryRead(directory); });
}

void EventQueue::linkState(const LinkEvent& event)
{
    push([event](JobEvents& t) { t.linkState(event); });
}

void EventQueue::jobFinished(const JobOutcome& outcome)
{
    push([outcome](JobEvents& t) { t.jobFinished(outcome); });
}

int EventQueue::deliverTo(JobEvents& target)
{
    std::vector<std::function<void(JobEvents&)>> now;
    {
        std::lock_guard lock(mutex_);
        now.swap(events_);
    }
    for (auto& event : now)
        event(target);
    return int(now.size());
}

}  // namespace ravo::test
