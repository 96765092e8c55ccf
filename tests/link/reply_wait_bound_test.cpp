// A reply wait ends within its limit whatever the unit sends: here a unit
// that never answers but writes junk without end, on a virtual clock.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "link/clock.h"
#include "link/ir_comm.h"
#include "sim/sim_presets.h"
#include "sim/sim_registration.h"
#include "sim/sim_transport.h"
#include "sim/sim_unit.h"

namespace ravo {
namespace {

// Virtual time in which every look at the clock costs a millisecond, so time
// passes while the link reads, as it does on a real line.
class BusyClock : public ManualClock {
public:
    uint64_t nowMs() override
    {
        advance(1);
        return ManualClock::nowMs();
    }
};

TEST(ReplyWait, EndlessNoiseEndsTheCommandWithinItsWait)
{
    sim::registerSimTransport();
    BusyClock clock;
    sim::SimState state;
    ASSERT_TRUE(sim::presetState("default", state));
    state.faults.noiseStream = true;
    state.faults.silent = true;
    auto unit = std::make_shared<sim::SimUnit>(state);
    unit->setClock(&clock);
    sim::registerSimUnit("endless-noise", unit);
    CIrComm link;
    link.setAddress("sim:endless-noise");
    link.setClock(&clock);
    link.unitNumber = state.unitNumber;
    ASSERT_EQ(link.Open(), 0);
    ASSERT_EQ(link.Connect(), 0);

    std::atomic<bool> done{false};
    int result = -1;
    uint64_t took = 0;
    std::thread command([&] {
        const uint64_t start = clock.nowMs();
        uint8_t bytes[15];
        int count = 0;
        result = link.ReadVersions(bytes, count);
        took = clock.nowMs() - start;
        done = true;
    });
    // A wait that never ends would hold the test: after a few real seconds the
    // noise is switched off so that it ends, and fails on the time it took.
    for (int i = 0; i < 500 && !done; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!done)
        unit->update([](sim::SimState& s) { s.faults.noiseStream = false; });
    command.join();
    EXPECT_EQ(result, 0);
    EXPECT_GT(took, 2500u);
    EXPECT_LT(took, 2800u) << "a little over 2.5 s";
    sim::forgetSimUnits();
}

}  // namespace
}  // namespace ravo
