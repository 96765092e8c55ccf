// The simulated unit's receive side: any byte stream, in firmware or in the
// bootloader, never crashes it, and every reply it writes is a whole frame.
#include <cstddef>
#include <cstdint>

#include "link/clock.h"
#include "sim/sim_presets.h"
#include "sim/sim_unit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    static const ravo::sim::SimState base = ravo::sim::generatedUnit(0x4925, {60, 0}, 2, 1);
    ravo::sim::SimState state = base;
    // The first byte picks the firmware family and whether the unit waits in
    // its bootloader.
    const uint16_t versions[] = {0x4005, 0x4210, 0x4512, 0x4700, 0x4922, 0x4925, 0x4925, 0x4925};
    uint16_t version = versions[data[0] & 7];
    state.mainVersion = uint8_t(version >> 8);
    state.betaNumber = uint8_t(version);
    state.inBootloader = (data[0] & 0x80) != 0;
    state.faults.shortDataRecords = (data[0] >> 3) & 7;
    ravo::ManualClock clock;
    ravo::sim::SimUnit unit(state);
    unit.setClock(&clock);
    unit.connectionOpened();
    // Feed in pieces so frames and chunks are split across calls.
    for (size_t at = 1; at < size;) {
        size_t piece = 1 + data[at] % 16;
        if (at + piece > size)
            piece = size - at;
        ravo::sim::SimReaction r = unit.receive(data + at, piece);
        for (const auto& d : r.deliveries)
            if (d.bytes.empty())
                __builtin_trap();
        at += piece;
        clock.advance(700);
    }
    return 0;
}
