#pragma once
#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "link/net_socket.h"
#include "sim/sim_pty.h"
#include "sim/sim_unit.h"

namespace ravo::sim {

// Serves one simulated unit over a TCP port on 127.0.0.1 or over a
// pseudo-terminal, one connection at a time, on the calling thread. While the
// unit restarts the TCP port is closed, so the link finds no peer.
class SimServer {
public:
    explicit SimServer(std::shared_ptr<SimUnit> unit);
    ~SimServer();
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;

    // Listens on 127.0.0.1:`port` (0 picks a free one). The port, or -1 with `error`.
    int listenTcp(int port, std::string& error);
    // Opens a pseudo-terminal in raw mode; its device path, or "" with `error`.
    std::string openPty(std::string& error);

    // Runs until `stop` is set; `idle` is called every few milliseconds.
    void run(const std::atomic<bool>& stop, const std::function<void()>& idle);

private:
    bool openListener(std::string& error);
    void closeClient();
    void serviceTcp(int timeoutMs);
    void servicePty(int timeoutMs);
    void feed(const uint8_t* data, size_t n);
    double flushDue();  // ms until the next delivery is due, or -1
    void write(const std::vector<uint8_t>& bytes);
    void closeListener();

    std::shared_ptr<SimUnit> unit_;
    int port_ = -1;
    net::Socket listener_ = net::kNoSocket;
    net::Socket client_ = net::kNoSocket;
    SimPty pty_;
    std::deque<SimDelivery> pending_;
    bool dropPending_ = false;
};

}  // namespace ravo::sim
