// Feeds arbitrary bytes, in arbitrary read sizes, to the frame receive state,
// to CheckFrame and to a whole ReceiveReply, then appends a valid frame.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <vector>

#include "link/clock.h"
#include "link/frame_format.h"
#include "link/frame_receive.h"
#include "link/irda_cmd.h"

namespace {

using namespace ravo;

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// Read sizes from a small generator, so one input gives many splittings.
struct ReadSizes {
    uint32_t state;
    int next(int left)
    {
        state = state * 1103515245u + 12345u;
        int size = int((state >> 16) % 1100) + 1;
        return size < left ? size : left;
    }
};

// A link whose far end is a queue of reads in memory, on virtual time.
class MemoryLink : public irda_cmd {
public:
    std::deque<std::vector<uint8_t>> reads;
    ManualClock time;

    MemoryLink() { setClock(&time); }
    int Send(const uint8_t*, int length) override { return length; }
    int Receive(uint8_t* buffer, int size) override
    {
        if (reads.empty())
            return 0;
        std::vector<uint8_t>& front = reads.front();
        int n = int(front.size()) < size ? int(front.size()) : size;
        std::memcpy(buffer, front.data(), size_t(n));
        front.erase(front.begin(), front.begin() + n);
        if (front.empty())
            reads.pop_front();
        return n;
    }
    int Available() override { return reads.empty() ? 0 : int(reads.front().size()); }
    bool WaitReadable(uint32_t ms) override
    {
        time.advance(ms);
        return !reads.empty();
    }
    uint16_t linkUnitNumber() const override { return 0x1234; }
    uint32_t linkFirmwareVersion() const override { return 0x4700; }
    void setLinkFirmwareVersion(uint32_t) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const uint8_t opcode = data[0];
    const uint8_t n = data[1] % 64;
    ReadSizes sizes{data[2]};
    const uint8_t* junk = data + 3;
    const int junkSize = int(size - 3);

    // The held bytes as a frame, whatever they are.
    UnitReply direct;
    if (CheckFrame(junk, junkSize, direct))
        require(direct.length == int(direct.payload.size()) && direct.length == junk[4]);

    std::vector<uint8_t> payload(n);
    for (int i = 0; i < n; ++i)
        payload[size_t(i)] = uint8_t(i * 37 + opcode);
    const std::vector<uint8_t> frame = buildFrame(0x1234, opcode, payload.data(), n);

    // Byte by byte through the receive state.
    FrameReceiveState state;
    UnitReply reply;
    for (int i = 0; i < junkSize; ++i) {
        if (state.feed(junk[i], reply))
            require(reply.valid && int(reply.payload.size()) == reply.length);
        require(state.heldCount >= 0 && state.heldCount <= FrameReceiveState::kFrameBufferSize);
    }
    const bool cleanBefore = state.heldCount == 0;
    bool passed = false;
    for (uint8_t b : frame) {
        passed = state.feed(b, reply) || passed;
        require(state.heldCount <= FrameReceiveState::kFrameBufferSize);
    }
    // Something passes by the frame's end byte; when nothing was held before
    // it, that is exactly the frame.
    require(passed);
    if (cleanBefore)
        require(reply.valid && reply.opcode == opcode && reply.payload == payload && reply.unitNumber == 0x1234);

    // The same through ReceiveReply, in arbitrary read sizes.
    MemoryLink link;
    std::vector<uint8_t> stream(junk, junk + junkSize);
    stream.insert(stream.end(), frame.begin(), frame.end());
    for (int at = 0; at < int(stream.size());) {
        int count = sizes.next(int(stream.size()) - at);
        link.reads.emplace_back(stream.begin() + at, stream.begin() + at + count);
        at += count;
    }
    UnitReply received;
    for (int call = 0; call < 64 && !link.reads.empty(); ++call) {
        link.ReceiveReply(received);
        require(link.receiveState.heldCount <= FrameReceiveState::kFrameBufferSize);
        if (received.valid)
            require(int(received.payload.size()) == received.length);
    }
    return 0;
}
