#include "bootloader_peer.h"

#include "support/tcp_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "link/frame_format.h"

namespace ravo::test {

ScriptedBootloader::ScriptedBootloader(Script script, bool ackFrames) : script_(std::move(script)), ackFrames_(ackFrames)
{
    listenFd_ = listenOnLoopback(port_, 4);
    thread_ = std::thread([this] { serve(); });
}

ScriptedBootloader::~ScriptedBootloader()
{
    stop_ = true;
    thread_.join();
    ::close(listenFd_);
}

std::vector<std::vector<uint8_t>> ScriptedBootloader::chunks() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return chunks_;
}

std::vector<int> ScriptedBootloader::chunkLengths() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return lengths_;
}

std::vector<uint8_t> ScriptedBootloader::frameOpcodes() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return opcodes_;
}

bool ScriptedBootloader::consume(int fd, std::vector<uint8_t>& pending)
{
    if (pending.empty())
        return false;
    if (pending[0] == kFrameStart) {
        // A command frame: up to its unescaped end byte.
        size_t end = 1;
        bool escape = false;
        for (; end < pending.size(); ++end) {
            if (escape)
                escape = false;
            else if (pending[end] == kFrameEscape)
                escape = true;
            else if (pending[end] == kFrameEnd)
                break;
        }
        if (end >= pending.size())
            return false;
        uint16_t unit = uint16_t(pending[1] | pending[2] << 8);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            opcodes_.push_back(pending.size() > 3 ? pending[3] : 0);
        }
        pending.erase(pending.begin(), pending.begin() + long(end) + 1);
        if (ackFrames_) {
            std::vector<uint8_t> ack = buildFrame(unit, 0, nullptr, 0);
            ::send(fd, ack.data(), ack.size(), MSG_NOSIGNAL);
        }
        return true;
    }
    if (pending.size() < 2)
        return false;
    size_t length = size_t(pending[0]) << 8 | pending[1];
    if (pending.size() < 2 + length)
        return false;
    int receipt;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        chunks_.emplace_back(pending.begin() + 2, pending.begin() + 2 + long(length));
        lengths_.push_back(int(length));
        receipt = int(chunks_.size()) - 1;
    }
    pending.erase(pending.begin(), pending.begin() + 2 + long(length));
    std::vector<uint8_t> answer = script_ ? script_(receipt) : std::vector<uint8_t>{};
    if (!answer.empty())
        ::send(fd, answer.data(), answer.size(), MSG_NOSIGNAL);
    return true;
}

void ScriptedBootloader::serve()
{
    int fd = -1;
    std::vector<uint8_t> pending;
    while (!stop_) {
        pollfd entries[2] = {{listenFd_, POLLIN, 0}, {fd, POLLIN, 0}};
        if (::poll(entries, fd >= 0 ? 2 : 1, 10) <= 0)
            continue;
        if (entries[0].revents & POLLIN) {
            int accepted = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (accepted >= 0) {
                // The link reconnects after a restart: the newest connection is the unit's.
                if (fd >= 0)
                    ::close(fd);
                fd = accepted;
                pending.clear();
                ++connections_;
            }
            continue;
        }
        if (fd >= 0 && (entries[1].revents & (POLLIN | POLLHUP | POLLERR))) {
            uint8_t block[4096];
            ssize_t got = ::recv(fd, block, sizeof block, 0);
            if (got <= 0) {
                ::close(fd);
                fd = -1;
                continue;
            }
            pending.insert(pending.end(), block, block + got);
            while (consume(fd, pending)) {
            }
        }
    }
    if (fd >= 0)
        ::close(fd);
}

}  // namespace ravo::test
