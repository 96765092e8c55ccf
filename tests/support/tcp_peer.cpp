#include "support/tcp_peer.h"

#include <vector>

namespace ravo::test {

net::Socket listenOnLoopback(int& port, int backlog)
{
    return net::listenLoopback(0, port, backlog);
}

TcpPeer::TcpPeer()
{
    listener_ = listenOnLoopback(port_);
    thread_ = std::thread([this] { serve(); });
}

TcpPeer::~TcpPeer()
{
    stop_ = true;
    thread_.join();
    net::closeSocket(listener_);
}

void TcpPeer::serve()
{
    std::vector<net::Socket> sockets{listener_};
    while (!stop_) {
        int i = net::waitReadable(sockets.data(), int(sockets.size()), 20);
        if (i < 0)
            continue;
        if (i == 0) {
            net::Socket s = net::acceptClient(listener_);
            if (s != net::kNoSocket) {
                sockets.push_back(s);
                ++accepted_;
            }
            continue;
        }
        uint8_t buffer[256];
        int n = net::receiveSome(sockets[size_t(i)], buffer, sizeof buffer);
        if (n == 0 || n == -1) {
            net::closeSocket(sockets[size_t(i)]);
            sockets.erase(sockets.begin() + i);
        }
    }
    for (size_t i = 1; i < sockets.size(); ++i)
        net::closeSocket(sockets[i]);
}

int unusedPort()
{
    int port = 0;
    net::closeSocket(net::listenLoopback(0, port, 1));
    return port;
}

}  // namespace ravo::test
