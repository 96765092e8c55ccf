#include <vector>

#include "link/frame_format.h"
#include "link/irda_cmd.h"

namespace ravo {
namespace {

constexpr uint32_t kIdleMs = 500;        // a poll cycle with no bytes at all
constexpr uint32_t kAfterBytesMs = 250;  // a poll cycle once bytes came
constexpr uint64_t kTotalMs = 2500;      // the whole wait for one reply
constexpr uint32_t kPollPauseMs = 100;   // between poll cycles
constexpr int kReadSize = 1023;

}  // namespace

void irda_cmd::SendFrame(uint8_t opcode, const uint8_t* payload, int n)
{
    if (n < 0 || n > 255 || (n > 0 && !payload))
        return;
    notifySent();
    const std::vector<uint8_t> wire = buildFrame(linkUnitNumber(), opcode, payload, uint8_t(n));
    Send(wire.data(), int(wire.size()));
}

void irda_cmd::SendChunk(const uint8_t* data, int length)
{
    if (length < 0 || (length > 0 && !data))
        return;
    notifySent();
    const std::vector<uint8_t> wire = buildChunkFrame(data, size_t(length));
    Send(wire.data(), int(wire.size()));
}

bool irda_cmd::feedReceived(const uint8_t* bytes, int count, UnitReply& reply)
{
    // Bytes after a passing frame in the same read are dropped.
    for (int i = 0; i < count; ++i) {
        if (receiveState.feed(bytes[i], reply)) {
            notifyReply();
            return true;
        }
    }
    return false;
}

bool irda_cmd::ReceiveReply(UnitReply& reply)
{
    Clock& c = clock();
    const uint64_t start = c.nowMs();
    uint8_t buffer[kReadSize + 1];
    bool wokeOnData = false;
    for (;;) {
        uint64_t idleDeadline = c.nowMs() + kIdleMs;
        reply.reset();
        bool passed = false;
        bool gotBytes = false;
        while (!passed && Available() > 0) {
            // Bytes that keep coming but never make a frame must not hold the
            // command past its whole wait.
            const uint64_t now = c.nowMs();
            if (now >= idleDeadline || now - start > kTotalMs)
                break;
            const int got = Receive(buffer, kReadSize);
            if (got <= 0)
                break;  // a failed read brings nothing; the pause follows
            gotBytes = true;
            idleDeadline = c.nowMs() + kAfterBytesMs;
            passed = feedReceived(buffer, got, reply);
        }
        if (reply.valid)
            break;
        if (c.nowMs() - start > kTotalMs)
            return false;
        // Waking on data takes a reply the moment it arrives. A transport
        // that reports bytes it then does not deliver would make that a busy
        // loop, so after such a wake-up the whole pause is slept.
        if (wakeOnData && !(wokeOnData && !gotBytes)) {
            wokeOnData = WaitReadable(kPollPauseMs);
        } else {
            wokeOnData = false;
            c.sleepMs(kPollPauseMs);
        }
    }
    return reply.unitNumber == linkUnitNumber();
}

int irda_cmd::Exchange(UnitCommand cmd, const uint8_t* payload, int n, UnitReply& reply)
{
    reply.reset();
    const int opcode = opcodeOf(cmd);
    if (opcode < 0)
        return 0;
    SendFrame(uint8_t(opcode), payload, n);
    ReceiveReply(reply);
    return reply.valid ? 1 : 0;
}

}  // namespace ravo
