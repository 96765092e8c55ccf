#include "support/link_script_peer.h"

#include "support/tcp_peer.h"

#include <chrono>

#include "link/frame_format.h"

namespace ravo::test {

LinkScriptPeer::LinkScriptPeer() : LinkScriptPeer(Handler{}) {}

LinkScriptPeer::LinkScriptPeer(Handler handler) : handler_(std::move(handler))
{
    listener_ = listenOnLoopback(port_, 4);
    thread_ = std::thread([this] { serve(); });
}

LinkScriptPeer::~LinkScriptPeer()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
    net::closeSocket(client_);
    net::closeSocket(listener_);
}

std::string LinkScriptPeer::address() const
{
    return "tcp:127.0.0.1:" + std::to_string(port_);
}

void LinkScriptPeer::queue(ScriptedAnswer answer)
{
    std::lock_guard<std::mutex> lock(mutex_);
    answers_.push_back(std::move(answer));
}

void LinkScriptPeer::letSilenceExpire(PatientClock* clock, uint32_t ms)
{
    std::lock_guard<std::mutex> lock(mutex_);
    silenceClock_ = clock;
    silenceMs_ = ms;
}

void LinkScriptPeer::push(const std::vector<uint8_t>& bytes)
{
    // Only the serving thread writes answers; a push waits for the client.
    for (int i = 0; i < 2000; ++i) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (client_ != net::kNoSocket)
                break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    writeAll(bytes);
}

std::vector<ReceivedRequest> LinkScriptPeer::requests() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

std::vector<uint8_t> LinkScriptPeer::receivedBytes() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
}

bool LinkScriptPeer::waitForBytes(size_t count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return received_.size() >= count; });
}

void LinkScriptPeer::writeAll(const std::vector<uint8_t>& bytes)
{
    net::Socket s;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        s = client_;
    }
    if (s != net::kNoSocket)
        net::sendAll(s, bytes.data(), int(bytes.size()));
}

void LinkScriptPeer::serve()
{
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stop_)
                return;
        }
        net::Socket s;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            s = client_ != net::kNoSocket ? client_ : listener_;
        }
        if (net::waitReadable(&s, 1, 10) < 0)
            continue;
        if (s == listener_) {
            net::Socket client = net::acceptClient(listener_);
            std::lock_guard<std::mutex> lock(mutex_);
            client_ = client;
            continue;
        }
        uint8_t buffer[2048];
        int n = net::receiveSome(s, buffer, sizeof buffer);
        if (n == net::kWouldBlock)
            continue;
        if (n <= 0) {
            std::lock_guard<std::mutex> lock(mutex_);
            net::closeSocket(client_);
            client_ = net::kNoSocket;
            continue;
        }
        take(buffer, int(n));
    }
}

void LinkScriptPeer::take(const uint8_t* bytes, int count)
{
    for (int i = 0; i < count; ++i) {
        ReceivedRequest request;
        bool complete = split(bytes[i], request);
        {
            // A waiter for N bytes sees the request those bytes completed.
            std::lock_guard<std::mutex> lock(mutex_);
            if (complete)
                requests_.push_back(request);
            received_.push_back(bytes[i]);
        }
        changed_.notify_all();
        if (complete)
            answer(request);
    }
}

bool LinkScriptPeer::split(uint8_t b, ReceivedRequest& request)
{
    if (current_.empty()) {
        if (b == kFrameStart)
            current_.push_back(b);
        return false;
    }
    current_.push_back(b);
    if (escape_) {
        escape_ = false;
        return false;
    }
    if (b == kFrameEscape) {
        escape_ = true;
        return false;
    }
    if (b != kFrameEnd)
        return false;
    request.wire = current_;
    std::vector<uint8_t> plain;
    for (size_t k = 0; k < current_.size(); ++k) {
        if (k > 0 && current_[k] == kFrameEscape && k + 1 < current_.size() - 1)
            ++k;
        plain.push_back(current_[k]);
    }
    current_.clear();
    if (plain.size() >= 7) {
        request.unitNumber = uint16_t(plain[1] | plain[2] << 8);
        request.opcode = plain[3];
        request.payload.assign(plain.begin() + 5, plain.end() - 2);
    }
    return true;
}

void LinkScriptPeer::answer(const ReceivedRequest& request)
{
    ScriptedAnswer reply;
    if (handler_) {
        reply = handler_(request);
    } else {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!answers_.empty()) {
            reply = std::move(answers_.front());
            answers_.pop_front();
        }
    }
    if (reply.empty()) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (silenceClock_)
            silenceClock_->allowExpiry(silenceMs_);
    }
    for (const ReplyPiece& piece : reply) {
        if (piece.delayMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(piece.delayMs));
        writeAll(piece.bytes);
    }
}

std::vector<uint8_t> replyFrame(uint16_t unitNumber, uint8_t opcode, const std::vector<uint8_t>& payload)
{
    return buildFrame(unitNumber, opcode, payload.data(), uint8_t(payload.size()));
}

std::vector<uint8_t> joined(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

}  // namespace ravo::test
