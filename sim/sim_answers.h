#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "sim/sim_commands.h"
#include "sim/sim_log_generator.h"
#include "sim/sim_state.h"

namespace ravo::sim {

// What one connection has established with the unit.
struct SimSession {
    bool authorized = false;  // a response was acknowledged
    std::optional<std::array<uint8_t, 4>> challenge;
    bool recoveryWord = false;
    bool recoveryArmed = false;
    // The data requests carry only a position: they read the log whose entry
    // or header was asked for last.
    int selectedDive = -1;
    int selectedRedbox = -1;
};

// What the unit does after answering.
enum class SimEffect { None, EnterBootloader, PowerDown };

struct SimAnswer {
    bool reply = false;  // false: the unit stays silent
    uint8_t opcode = 0;
    std::vector<uint8_t> payload;
    SimEffect effect = SimEffect::None;
    std::optional<uint32_t> setClock;  // the unit's clock was set to this
};

// The recovery word the unit accepts (sent low byte first).
inline constexpr uint16_t kSimRecoveryWord = 0x7E81;
// A header request answers at most this many bytes; a data request at most
// this many records.
inline constexpr int kHeaderBlockMax = 200;
inline constexpr int kDataRecordsMax = 25;

// Answers one request of the running firmware. `unitTime` is the unit's clock
// now; `random` supplies challenges; `dataRecordsMax` limits data replies.
SimAnswer answerRequest(SimCommand command, const std::vector<uint8_t>& payload, SimState& state,
                        SimSession& session, uint32_t unitTime, SimRandom& random,
                        int dataRecordsMax = kDataRecordsMax);

}  // namespace ravo::sim
