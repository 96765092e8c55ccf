#include "sim/sim_request_reader.h"

#include "link/frame_format.h"

namespace ravo::sim {

bool decodeRequestFrame(const uint8_t* bytes, size_t count, SimRequest& out)
{
    if (count < 7 || bytes[0] != kFrameStart || bytes[count - 1] != kFrameEnd)
        return false;
    size_t n = bytes[4];
    if (count != n + 7)
        return false;
    if (crc8(bytes, 5 + n) != bytes[5 + n])
        return false;
    out.unitNumber = uint16_t(bytes[1] | bytes[2] << 8);
    out.opcode = bytes[3];
    out.payload.assign(bytes + 5, bytes + 5 + n);
    return true;
}

void SimRequestReader::reset()
{
    held_.clear();
    wire_ = 0;
    escape_ = false;
}

bool SimRequestReader::feed(uint8_t byte, SimRequest& out)
{
    if (held_.empty()) {
        if (byte == kFrameStart) {
            held_.push_back(byte);
            wire_ = 1;
        }
        return false;
    }
    ++wire_;
    if (escape_) {
        escape_ = false;
        held_.push_back(byte);
    } else if (byte == kFrameEscape) {
        escape_ = true;
        return false;
    } else if (byte == kFrameStart) {
        // A start byte is always escaped inside a frame: this is a new frame
        // after a broken one.
        ++rejected_;
        reset();
        held_.push_back(byte);
        wire_ = 1;
        return false;
    } else {
        held_.push_back(byte);
        if (byte == kFrameEnd)
            return finish(out);
    }
    if (held_.size() >= kMaxHeld) {
        ++rejected_;
        reset();
    }
    return false;
}

bool SimRequestReader::finish(SimRequest& out)
{
    bool ok = decodeRequestFrame(held_.data(), held_.size(), out);
    if (ok)
        out.wireBytes = wire_;
    else
        ++rejected_;
    reset();
    return ok;
}

}  // namespace ravo::sim
