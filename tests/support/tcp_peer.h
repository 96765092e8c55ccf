#pragma once
#include <atomic>
#include <thread>

#include "link/net_socket.h"

namespace ravo::test {

// A TCP listener on 127.0.0.1 (a free port) that accepts connections and keeps
// them open, reading and dropping whatever arrives; closed by the destructor.
class TcpPeer {
public:
    TcpPeer();
    ~TcpPeer();
    int port() const { return port_; }
    int accepted() const { return accepted_.load(); }

private:
    void serve();
    net::Socket listener_ = net::kNoSocket;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> accepted_{0};
    std::thread thread_;
};

// A listening TCP socket on 127.0.0.1 at a free port (stored in `port`).
net::Socket listenOnLoopback(int& port, int backlog = 8);

// A port on 127.0.0.1 with nothing listening.
int unusedPort();

}  // namespace ravo::test
