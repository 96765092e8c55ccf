#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "link/net_socket.h"

namespace ravo::test {

// A unit's bootloader on a TCP socket at 127.0.0.1, answering each chunk frame
// it receives with the bytes a script gives for that receipt (none: silence).
// Command frames (starting with FA) are acknowledged when `ackFrames` is set,
// so the bootloader entry request can be tested too.
class ScriptedBootloader {
public:
    using Script = std::function<std::vector<uint8_t>(int receipt)>;

    explicit ScriptedBootloader(Script script, bool ackFrames = false);
    ~ScriptedBootloader();

    int port() const { return port_; }
    std::string address() const { return "tcp:127.0.0.1:" + std::to_string(port_); }
    // Chunk payloads as received (after the 2-byte length), in order.
    std::vector<std::vector<uint8_t>> chunks() const;
    // The length fields of the chunk frames as received.
    std::vector<int> chunkLengths() const;
    std::vector<uint8_t> frameOpcodes() const;
    int connections() const { return connections_.load(); }

private:
    void serve();
    // Handles complete frames at the start of `pending`; false when more bytes are needed.
    bool consume(net::Socket s, std::vector<uint8_t>& pending);

    Script script_;
    bool ackFrames_;
    net::Socket listener_ = net::kNoSocket;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    mutable std::mutex mutex_;
    std::vector<std::vector<uint8_t>> chunks_;
    std::vector<int> lengths_;
    std::vector<uint8_t> opcodes_;
    std::thread thread_;
};

}  // namespace ravo::test
