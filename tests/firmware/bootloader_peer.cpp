#include "bootloader_peer.h"

#include "support/tcp_peer.h"

#include <string>

#include "link/frame_format.h"

namespace ravo::test {

ScriptedBootloader::ScriptedBootloader(Script script, bool ackFrames) : script_(std::move(script)), ackFrames_(ackFrames)
{
    listener_ = listenOnLoopback(port_, 4);
    thread_ = std::thread([this] { serve(); });
}

ScriptedBootloader::~ScriptedBootloader()
{
    stop_ = true;
    thread_.join();
    net::closeSocket(listener_);
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

bool ScriptedBootloader::consume(net::Socket fd, std::vector<uint8_t>& pending)
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
            net::sendAll(fd, ack.data(), int(ack.size()));
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
        net::sendAll(fd, answer.data(), int(answer.size()));
    return true;
}

void ScriptedBootloader::serve()
{
    net::Socket client = net::kNoSocket;
    std::vector<uint8_t> pending;
    while (!stop_) {
        net::Socket watched[2] = {listener_, client};
        int ready = net::waitReadable(watched, client != net::kNoSocket ? 2 : 1, 10);
        if (ready < 0)
            continue;
        if (ready == 0) {
            net::Socket accepted = net::acceptClient(listener_);
            if (accepted != net::kNoSocket) {
                // The link reconnects after a restart: the newest connection is the unit's.
                net::closeSocket(client);
                client = accepted;
                pending.clear();
                ++connections_;
            }
            continue;
        }
        uint8_t block[4096];
        int got = net::receiveSome(client, block, sizeof block);
        if (got == net::kWouldBlock)
            continue;
        if (got <= 0) {
            net::closeSocket(client);
            client = net::kNoSocket;
            continue;
        }
        pending.insert(pending.end(), block, block + got);
        while (consume(client, pending)) {
        }
    }
    net::closeSocket(client);
}

}  // namespace ravo::test
