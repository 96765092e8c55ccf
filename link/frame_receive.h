#pragma once
#include <cstdint>

#include "link/unit_reply.h"

namespace ravo {

// Decodes one held (unstuffed) frame: start byte, unit number, opcode, length
// n, payload, check byte, end byte. With n > 0 the count must be n + 7; with
// n = 0 bytes between the check byte and the end byte are ignored. Returns
// `reply.valid`.
bool CheckFrame(const uint8_t* bytes, int count, UnitReply& reply);

// The frame receive state, held by the link across reads and calls so that a
// reply may arrive in any number of pieces.
struct FrameReceiveState {
    static constexpr int kFrameBufferSize = 1040;

    int heldCount = 0;  // 0: waiting for a start byte
    bool escapePending = false;
    bool endSeen = false;
    uint8_t frameBuffer[kFrameBufferSize] = {};

    // Takes one received byte. True when it completed a frame that passed its
    // check; `reply` then holds it and the state waits for the next start
    // byte. A held frame that fails its check, or a full buffer without a
    // passing frame, is searched for the next start byte and the bytes from
    // there are kept, so a good frame behind noise or a damaged frame is still
    // taken; never more than kFrameBufferSize bytes are held.
    bool feed(uint8_t byte, UnitReply& reply);

    void clear();

private:
    bool checkHeld(UnitReply& reply);
    bool resyncFromNextStart();
};

}  // namespace ravo
