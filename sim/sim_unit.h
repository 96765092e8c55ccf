#pragma once
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "link/clock.h"
#include "sim/sim_answers.h"
#include "sim/sim_request_reader.h"
#include "sim/sim_state.h"

namespace ravo::sim {

// Bytes the unit writes, readable by the far end at `atMs` of the unit's clock.
struct SimDelivery {
    std::vector<uint8_t> bytes;
    double atMs = 0;
};

// The unit's reaction to received bytes. With `dropLink` the unit ends the
// connection once the deliveries are out.
struct SimReaction {
    std::vector<SimDelivery> deliveries;
    bool dropLink = false;
};

struct SimStats {
    int connections = 0;
    int requests = 0;          // frames that passed their check, any unit number
    int replies = 0;
    int rejectedFrames = 0;
    int chunksReceived = 0;
    int chunksAccepted = 0;
};

// The simulated unit: its state, its firmware's answers, its bootloader,
// the link timing and the faults. Thread-safe: every public call locks.
class SimUnit {
public:
    enum class Mode { Running, Restarting, Bootloader, Off };

    explicit SimUnit(SimState state = {});

    // The clock that times replies and restarts; the system clock by default.
    // Not owned; it must outlive the unit.
    void setClock(Clock* clock);
    Clock& clock() const { return *clock_; }
    // Receives one line per request (opcode and payload in hex) and event.
    void setTrace(std::function<void(const std::string&)> trace);

    // False while the unit restarts or is switched off.
    bool reachable();
    Mode mode();
    void connectionOpened();
    void connectionClosed();
    // Bytes from the link.
    SimReaction receive(const uint8_t* data, size_t length);
    // Junk written since the last call while the endless-noise fault is on
    // (at the timing's baud rate, whether timing is on or not); empty otherwise.
    std::vector<uint8_t> noiseDue();
    bool streamsNoise();

    // A copy of the state, the clock brought up to now.
    SimState state();
    // Changes the state in place (tests, scenario commands).
    void update(const std::function<void(SimState&)>& change);
    SimStats stats();
    // The unit's clock now (unit time).
    uint32_t unitTime();

private:
    void refreshMode();
    double nowMs();
    void runFirmware(const SimRequest& request, SimReaction& out);
    void runBootloader(uint8_t byte, SimReaction& out);
    void finishChunk(SimReaction& out);
    void deliver(std::vector<uint8_t> bytes, size_t requestWireBytes, SimReaction& out);
    void restart(Mode into, SimReaction& out);
    void trace(const std::string& line);
    uint32_t unitTimeLocked();

    std::mutex mutex_;
    SimState state_;
    Clock* clock_;
    std::function<void(const std::string&)> trace_;
    SimRandom random_;
    SimSession session_;
    SimRequestReader reader_;
    SimStats stats_;
    Mode mode_ = Mode::Running;
    double restartUntilMs_ = 0;
    Mode afterRestart_ = Mode::Running;
    double clockRefMs_ = 0;
    double lineFreeMs_ = 0;
    int exchanges_ = 0;        // this connection
    int entryRequests_ = 0;    // directory entry requests, for ignoreEntryEvery
    bool connectionDropped_ = false;
    bool chunkDropDone_ = false;
    double noiseFromMs_ = 0;
    // Bootloader receive state.
    std::vector<uint8_t> chunk_;
    size_t chunkLength_ = 0;
    int chunkHeader_ = 0;      // header bytes held (0..2)
    double lastChunkByteMs_ = 0;
    std::vector<int> chunkFaultUses_;
    int downloadChunks_ = 0;  // accepted since the bootloader started
};

}  // namespace ravo::sim
