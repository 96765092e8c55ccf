#include "sim/sim_transport.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

#include "sim/sim_presets.h"
#include "sim/sim_scenario.h"

namespace ravo::sim {
namespace {

class SimTransport : public Transport {
public:
    explicit SimTransport(std::shared_ptr<SimUnit> unit) : unit_(std::move(unit)) {}
    ~SimTransport() override { close(); }

    int open(std::string&) override { return 0; }

    int enumerate(DeviceInfo& first, std::string&) override
    {
        if (!unit_->reachable())
            return 0;
        first.clear();
        first.setName(kSimDeviceName);
        first.id[3] = 1;
        return 1;
    }

    int connectFirst(std::string& error) override
    {
        if (!unit_->reachable()) {
            error = "The simulated unit does not answer";
            return -6;
        }
        std::lock_guard lock(mutex_);
        if (!connected_) {
            unit_->connectionOpened();
            connected_ = true;
            dropped_ = false;
            pending_.clear();
            readable_.clear();
        }
        return 0;
    }

    void close() override
    {
        std::lock_guard lock(mutex_);
        if (connected_)
            unit_->connectionClosed();
        connected_ = false;
        pending_.clear();
        readable_.clear();
    }

    int send(const uint8_t* data, int length) override
    {
        if (length < 0)
            return -1;
        std::unique_lock lock(mutex_);
        if (!connected_ || dropped_)
            return -1;
        lock.unlock();
        SimReaction reaction = unit_->receive(data, size_t(length));
        lock.lock();
        for (SimDelivery& d : reaction.deliveries)
            pending_.push_back(std::move(d));
        // The far end sees the drop once the last bytes are out.
        if (reaction.dropLink)
            dropped_ = true;
        changed_.notify_all();
        return length;
    }

    int receive(uint8_t* buffer, int size) override
    {
        std::lock_guard lock(mutex_);
        collectDue();
        if (readable_.empty())
            return linkGone() ? -1 : 0;
        int n = std::min<int>(size, int(readable_.size()));
        std::copy(readable_.begin(), readable_.begin() + n, buffer);
        readable_.erase(readable_.begin(), readable_.begin() + n);
        return n;
    }

    int available() override
    {
        std::lock_guard lock(mutex_);
        collectDue();
        return int(readable_.size());
    }

    bool waitReadable(uint32_t realMs) override
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(realMs);
        std::unique_lock lock(mutex_);
        for (;;) {
            collectDue();
            if (!readable_.empty())
                return true;
            auto now = std::chrono::steady_clock::now();
            if (now >= deadline)
                return false;
            // Bytes on their way become due as the unit's clock moves; look
            // again soon. Otherwise only a send can bring bytes.
            auto step = pending_.empty() ? deadline - now : std::chrono::milliseconds(1);
            changed_.wait_for(lock, std::min<std::chrono::steady_clock::duration>(step, deadline - now));
        }
    }

private:
    void collectDue()
    {
        if (connected_ && !dropped_) {
            std::vector<uint8_t> noise = unit_->noiseDue();
            readable_.insert(readable_.end(), noise.begin(), noise.end());
        }
        if (pending_.empty())
            return;
        double t = unitClock().fineMs();
        while (!pending_.empty() && pending_.front().atMs <= t) {
            readable_.insert(readable_.end(), pending_.front().bytes.begin(), pending_.front().bytes.end());
            pending_.pop_front();
        }
    }

    Clock& unitClock() { return unit_->clock(); }

    bool linkGone()
    {
        return !connected_ || (dropped_ && pending_.empty());
    }

    std::shared_ptr<SimUnit> unit_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<SimDelivery> pending_;
    std::deque<uint8_t> readable_;
    bool connected_ = false;
    bool dropped_ = false;
};

struct Registry {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<SimUnit>> units;
    Clock* clock = nullptr;
};

Registry& registry()
{
    static Registry r;
    return r;
}

}  // namespace

std::unique_ptr<Transport> makeSimTransport(std::shared_ptr<SimUnit> unit)
{
    return std::make_unique<SimTransport>(std::move(unit));
}

std::shared_ptr<SimUnit> simUnitFor(const std::string& name, std::string& error)
{
    std::string key = name.empty() ? kDefaultPreset : name;
    std::lock_guard lock(registry().mutex);
    auto found = registry().units.find(key);
    if (found != registry().units.end())
        return found->second;
    SimState state;
    bool scenario = key.size() > 5 && key.compare(key.size() - 5, 5, ".json") == 0;
    if (scenario ? !loadScenarioFile(key, state, error) : !presetState(key, state)) {
        if (!scenario)
            error = "Unknown simulated unit '" + key + "' (ravo-unit-sim --list-presets lists the presets)";
        return nullptr;
    }
    auto unit = std::make_shared<SimUnit>(std::move(state));
    if (registry().clock)
        unit->setClock(registry().clock);
    registry().units[key] = unit;
    return unit;
}

void registerSimUnit(const std::string& name, std::shared_ptr<SimUnit> unit)
{
    std::lock_guard lock(registry().mutex);
    registry().units[name.empty() ? kDefaultPreset : name] = std::move(unit);
}

void forgetSimUnits()
{
    std::lock_guard lock(registry().mutex);
    registry().units.clear();
}

void setSimClock(Clock* clock)
{
    std::lock_guard lock(registry().mutex);
    registry().clock = clock;
}

}  // namespace ravo::sim
