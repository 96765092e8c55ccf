#include "link/frame_receive.h"

#include <cstring>

#include "link/frame_format.h"

namespace ravo {

bool CheckFrame(const uint8_t* bytes, int count, UnitReply& reply)
{
    reply.reset();
    if (!bytes || count < 5 || bytes[0] != kFrameStart || bytes[count - 1] != kFrameEnd)
        return false;
    reply.unitNumber = uint16_t(bytes[1] | (bytes[2] << 8));
    reply.opcode = bytes[3];
    const int n = bytes[4];
    if (n > 0) {
        if (count != n + 7)
            return false;
        reply.payload.assign(bytes + 5, bytes + 5 + n);
        reply.length = n;
    } else if (count < 7) {
        // The check byte must be there: a 5- or 6-byte frame has none before
        // its end byte.
        return false;
    }
    reply.valid = crc8(bytes, size_t(5 + n)) == bytes[5 + n];
    return reply.valid;
}

void FrameReceiveState::clear()
{
    heldCount = 0;
    escapePending = false;
    endSeen = false;
}

bool FrameReceiveState::feed(uint8_t byte, UnitReply& reply)
{
    if (heldCount == 0) {
        escapePending = false;
        endSeen = false;
        if (byte == kFrameStart)
            frameBuffer[heldCount++] = byte;
        return false;
    }
    if (!escapePending && byte == kFrameEscape) {
        escapePending = true;
        return false;
    }
    if (!escapePending && byte == kFrameEnd)
        endSeen = true;
    escapePending = false;
    frameBuffer[heldCount++] = byte;
    if (!endSeen && heldCount < kFrameBufferSize)
        return false;
    return checkHeld(reply);
}

bool FrameReceiveState::checkHeld(UnitReply& reply)
{
    // Each pass starts the frame anew at the next start byte among the held
    // bytes: what follows it was unstuffed exactly as it would have been had
    // the frame begun there, and it holds no earlier unescaped end byte.
    for (;;) {
        if (CheckFrame(frameBuffer, heldCount, reply)) {
            clear();
            return true;
        }
        if (!resyncFromNextStart())
            return false;
        if (!endSeen)
            return false;
    }
}

bool FrameReceiveState::resyncFromNextStart()
{
    const auto* next = static_cast<const uint8_t*>(std::memchr(frameBuffer + 1, kFrameStart, size_t(heldCount - 1)));
    if (!next) {
        clear();
        return false;
    }
    const int from = int(next - frameBuffer);
    heldCount -= from;
    std::memmove(frameBuffer, next, size_t(heldCount));
    return true;
}

}  // namespace ravo
