#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ravo::sim {

// One request as the unit received it, after unstuffing and checking.
struct SimRequest {
    uint16_t unitNumber = 0;
    uint8_t opcode = 0;
    std::vector<uint8_t> payload;
    size_t wireBytes = 0;  // stuffed length on the wire
};

// Cuts the unit's receive stream into request frames. Bytes before a start
// byte are dropped; an unescaped start byte inside a frame begins a new one;
// a frame that fails its check is dropped. Never holds more than kMaxHeld bytes.
class SimRequestReader {
public:
    static constexpr size_t kMaxHeld = 1040;

    // Feeds one byte; true when it completed a frame that passed its check,
    // which is then in `out`.
    bool feed(uint8_t byte, SimRequest& out);
    // Forgets a partly received frame.
    void reset();
    // Frames dropped because they failed their check.
    int rejected() const { return rejected_; }

private:
    bool finish(SimRequest& out);

    std::vector<uint8_t> held_;
    size_t wire_ = 0;
    bool escape_ = false;
    int rejected_ = 0;
};

// Decodes one unstuffed frame (start byte to end byte); false when it fails
// its length or check byte.
bool decodeRequestFrame(const uint8_t* bytes, size_t count, SimRequest& out);

}  // namespace ravo::sim
