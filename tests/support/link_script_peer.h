#pragma once
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/clock.h"
#include "link/net_socket.h"

namespace ravo::test {

// Bytes the peer writes after waiting `delayMs` real milliseconds.
struct ReplyPiece {
    int delayMs = 0;
    std::vector<uint8_t> bytes;
};
// What the peer writes in answer to one request; empty: no answer.
using ScriptedAnswer = std::vector<ReplyPiece>;

// One request frame as the peer received it.
struct ReceivedRequest {
    std::vector<uint8_t> wire;  // as sent, stuffed, start to end byte
    uint16_t unitNumber = 0;
    uint8_t opcode = 0;
    std::vector<uint8_t> payload;
};

// A scripted unit on 127.0.0.1: accepts one connection, splits what arrives
// into frames and answers each request frame with the next queued answer (or
// with what the handler returns). Bytes outside frames are only recorded.
class LinkScriptPeer {
public:
    using Handler = std::function<ScriptedAnswer(const ReceivedRequest&)>;

    LinkScriptPeer();
    explicit LinkScriptPeer(Handler handler);
    ~LinkScriptPeer();
    LinkScriptPeer(const LinkScriptPeer&) = delete;
    LinkScriptPeer& operator=(const LinkScriptPeer&) = delete;

    int port() const { return port_; }
    // "tcp:127.0.0.1:PORT", for CIrComm::setAddress.
    std::string address() const;

    // Answers, in order, for the requests still to come.
    void queue(ScriptedAnswer answer);
    void queueBytes(std::vector<uint8_t> bytes) { queue({{0, std::move(bytes)}}); }
    void queueSilence() { queue({}); }
    // Writes bytes to the client now, outside any answer.
    void push(const std::vector<uint8_t>& bytes);

    // Each request left unanswered lets `ms` of the link's waits on `clock`
    // run out fast: the link waits for what comes, not for what never will.
    void letSilenceExpire(PatientClock* clock, uint32_t ms);

    std::vector<ReceivedRequest> requests() const;
    std::vector<uint8_t> receivedBytes() const;
    // Waits (real time, at most `timeoutMs`) until `count` bytes arrived.
    bool waitForBytes(size_t count, int timeoutMs) const;

private:
    void serve();
    void take(const uint8_t* bytes, int count);
    // Adds one byte to the frame being split off; true when it completed a frame.
    bool split(uint8_t b, ReceivedRequest& request);
    void answer(const ReceivedRequest& request);
    void writeAll(const std::vector<uint8_t>& bytes);

    Handler handler_;
    PatientClock* silenceClock_ = nullptr;
    uint32_t silenceMs_ = 0;
    net::Socket listener_ = net::kNoSocket;
    net::Socket client_ = net::kNoSocket;
    int port_ = 0;
    bool stop_ = false;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::deque<ScriptedAnswer> answers_;
    std::vector<ReceivedRequest> requests_;
    std::vector<uint8_t> received_;
    std::vector<uint8_t> current_;  // the frame being split off, stuffed
    bool escape_ = false;
    std::thread thread_;
};

// A reply frame as the unit writes it (stuffed), for scripts.
std::vector<uint8_t> replyFrame(uint16_t unitNumber, uint8_t opcode, const std::vector<uint8_t>& payload = {});

// Concatenation, for scripts of noise and frames.
std::vector<uint8_t> joined(std::initializer_list<std::vector<uint8_t>> parts);

}  // namespace ravo::test
