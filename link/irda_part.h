#pragma once
#include <cstdint>

#include "link/clock.h"
#include "link/frame_receive.h"

namespace ravo {

// Told of the link's traffic as it happens, on the thread that uses the link:
// the worker follows it to know whether the unit answers.
class LinkActivity {
public:
    virtual ~LinkActivity() = default;
    // Before each frame or chunk is written.
    virtual void frameSent() = 0;
    // After a valid reply frame or a bootloader answer arrived.
    virtual void replyReceived() = 0;
};

// Transport and frame-receive base of the link: the byte-stream operations the
// frame codec and the commands use, and the state the codec keeps across calls.
class irda_part {
public:
    virtual ~irda_part() = default;

    // Bytes written, or -1 on failure.
    virtual int Send(const uint8_t* bytes, int length) = 0;
    // Bytes read, 0 when nothing was read, -1 on failure. Never blocks.
    virtual int Receive(uint8_t* buffer, int size) = 0;
    // Bytes waiting; 0 when none or when the query fails. Never blocks.
    virtual int Available() = 0;
    // Returns as soon as bytes are waiting (true), or after `ms` milliseconds
    // of the link's clock (false).
    virtual bool WaitReadable(uint32_t ms) = 0;

    // Ticks and sleeps of the link and of the jobs run over it.
    Clock& clock() const { return *clock_; }
    void setClock(Clock* clock) { clock_ = clock ? clock : &systemClock(); }

    // Told of every frame sent and every reply received; may be null.
    LinkActivity* activity = nullptr;

    // Frame receive state, held across calls.
    static constexpr int kFrameBufferSize = FrameReceiveState::kFrameBufferSize;
    FrameReceiveState receiveState;

    // Between poll cycles of a reply wait: true waits on the transport and
    // goes on as soon as bytes arrive; false sleeps the whole pause.
    bool wakeOnData = true;

    void notifySent()
    {
        if (activity)
            activity->frameSent();
    }
    void notifyReply()
    {
        if (activity)
            activity->replyReceived();
    }

private:
    Clock* clock_ = &systemClock();
};

}  // namespace ravo
