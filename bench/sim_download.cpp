// Downloads the simulated unit's long dive (12000 records) with the real link
// commands, with the link timing off and on, and prints the figures.
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "link/ir_comm.h"
#include "sim/sim_presets.h"
#include "sim/sim_registration.h"
#include "sim/sim_transport.h"

namespace {

using namespace ravo;

struct Figures {
    double seconds = 0;
    int exchanges = 0;
    size_t bytes = 0;
    bool complete = false;
};

Figures download(bool timing, int baud)
{
    sim::SimState state;
    sim::presetState("long-dive", state);
    state.timing = {timing, baud, 5};
    auto unit = std::make_shared<sim::SimUnit>(state);
    sim::registerSimUnit("bench", unit);
    CIrComm link;
    link.setAddress("sim:bench");
    link.unitNumber = 0x1234;
    Figures f;
    if (link.Open() != 0 || link.Connect() != 0)
        return f;
    auto start = std::chrono::steady_clock::now();
    LogDirectoryEntry entry;
    uint8_t header[256];
    link.ReadLogEntry(UNIT_CMD_GET_DIVE_INFO, 0, entry);
    link.ReadHeaderBlocks(UNIT_CMD_GET_DIVE_HEADER, 0, header);
    std::vector<uint8_t> body(size_t(entry.recordCount) * 4);
    size_t read = 0;
    while (read < body.size()) {
        int got = 0;
        int wanted = int(std::min<size_t>(100, body.size() - read));
        if (!link.ReadDataBlock(UNIT_CMD_GET_DIVE_DATA, uint32_t(read / 4), body.data() + read, wanted, got))
            break;
        read += size_t(got);
    }
    f.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    f.exchanges = unit->stats().replies;
    f.bytes = read;
    f.complete = body == unit->state().diveLogs[0].records;
    return f;
}

}  // namespace

int main()
{
    ravo::sim::registerSimTransport();
    std::printf("Long dive download (12000 records) from the in-process simulated unit\n");
    struct Case {
        bool timing;
        int baud;
    };
    for (Case c : {Case{false, 115200}, Case{true, 115200}, Case{true, 57600}}) {
        Figures f = download(c.timing, c.baud);
        std::printf("timing %-3s baud %6d: %6.2f s, %4d exchanges, %6zu bytes, %.1f records/s, %s\n",
                    c.timing ? "on" : "off", c.baud, f.seconds, f.exchanges, f.bytes,
                    f.seconds > 0 ? double(f.bytes / 4) / f.seconds : 0.0, f.complete ? "complete" : "INCOMPLETE");
    }
    return 0;
}
