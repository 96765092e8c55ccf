#include "support/link_script_peer.h"

#include "support/tcp_peer.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "link/frame_format.h"

namespace ravo::test {

LinkScriptPeer::LinkScriptPeer() : LinkScriptPeer(Handler{}) {}

LinkScriptPeer::LinkScriptPeer(Handler handler) : handler_(std::move(handler))
{
    listenFd_ = listenOnLoopback(port_, 4);
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
    if (clientFd_ >= 0)
        ::close(clientFd_);
    ::close(listenFd_);
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

void LinkScriptPeer::push(const std::vector<uint8_t>& bytes)
{
    // Only the serving thread writes answers; a push waits for the client.
    for (int i = 0; i < 2000; ++i) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (clientFd_ >= 0)
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
    int fd;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        fd = clientFd_;
    }
    size_t done = 0;
    while (fd >= 0 && done < bytes.size()) {
        ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0)
            return;
        done += size_t(n);
    }
}

void LinkScriptPeer::serve()
{
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stop_)
                return;
        }
        int fd;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            fd = clientFd_ >= 0 ? clientFd_ : listenFd_;
        }
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 10) <= 0)
            continue;
        if (fd == listenFd_) {
            int client = ::accept(listenFd_, nullptr, nullptr);
            std::lock_guard<std::mutex> lock(mutex_);
            clientFd_ = client;
            continue;
        }
        uint8_t buffer[2048];
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            std::lock_guard<std::mutex> lock(mutex_);
            ::close(clientFd_);
            clientFd_ = -1;
            continue;
        }
        take(buffer, int(n));
    }
}

void LinkScriptPeer::take(const uint8_t* bytes, int count)
{
    for (int i = 0; i < count; ++i) {
        const uint8_t b = bytes[i];
        {
            std::lock_guard<std::mutex> lock(mutex_);
            received_.push_back(b);
        }
        changed_.notify_all();
        if (current_.empty()) {
            if (b == kFrameStart)
                current_.push_back(b);
            continue;
        }
        current_.push_back(b);
        if (escape_) {
            escape_ = false;
            continue;
        }
        if (b == kFrameEscape) {
            escape_ = true;
            continue;
        }
        if (b != kFrameEnd)
            continue;
        ReceivedRequest request;
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
        {
            std::lock_guard<std::mutex> lock(mutex_);
            requests_.push_back(request);
        }
        answer(request);
    }
}

void LinkScriptPeer::answer(const ReceivedRequest& request)
{
    ScriptedAnswer reply;
    if (handler_) {
        reply = handler_(request);
    } else {
        std::lock_guard<std::mutex> lock(mutex_);
        if (answers_.empty())
            return;
        reply = std::move(answers_.front());
        answers_.pop_front();
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
