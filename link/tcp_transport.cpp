#include "link/tcp_transport.h"

#include "link/net_socket.h"

namespace ravo {
namespace {

// How long a connection attempt may take before the peer counts as absent.
constexpr int kConnectTimeoutMs = 3000;

class TcpTransport : public Transport {
public:
    explicit TcpTransport(const LinkAddress& address) : host_(address.host), port_(address.port) {}
    ~TcpTransport() override { close(); }

    int open(std::string&) override { return 0; }

    int enumerate(DeviceInfo& first, std::string& error) override
    {
        close();
        uint8_t ipv4[4];
        socket_ = net::connectTcp(host_, port_, kConnectTimeoutMs, ipv4, &error);
        if (socket_ == net::kNoSocket)
            return 0;
        first.clear();
        first.setName("tcp " + host_ + ":" + std::to_string(port_));
        for (int i = 0; i < 4; ++i)
            first.id[i] = ipv4[i];
        return 1;
    }

    int connectFirst(std::string&) override { return socket_ != net::kNoSocket ? 0 : -6; }

    void close() override
    {
        net::closeSocket(socket_);
        socket_ = net::kNoSocket;
        peerClosed_ = false;
    }

    int send(const uint8_t* data, int length) override
    {
        return socket_ == net::kNoSocket ? -1 : net::sendAll(socket_, data, length);
    }

    int receive(uint8_t* buffer, int size) override
    {
        if (socket_ == net::kNoSocket)
            return -1;
        if (size <= 0)
            return 0;
        int n = net::receiveSome(socket_, buffer, size);
        return n == net::kWouldBlock ? 0 : n;
    }

    int available() override { return net::available(socket_); }

    bool waitReadable(uint32_t realMs) override
    {
        if (socket_ == net::kNoSocket || peerClosed_) {
            net::sleepMs(int(realMs));
            return false;
        }
        if (net::waitReadable(&socket_, 1, int(realMs)) < 0)
            return false;
        if (net::available(socket_) > 0)
            return true;
        // Readable with nothing to read: the peer hung up. Remember it, so that
        // the caller's next waits do not spin on the closed end.
        peerClosed_ = true;
        return false;
    }

    bool hungUp() override
    {
        if (socket_ == net::kNoSocket)
            return false;
        // Readable with nothing to read: the peer has closed its end.
        if (!peerClosed_ && net::waitReadable(&socket_, 1, 0) >= 0 && net::available(socket_) == 0)
            peerClosed_ = true;
        return peerClosed_;
    }

private:
    std::string host_;
    int port_;
    net::Socket socket_ = net::kNoSocket;
    bool peerClosed_ = false;
};

}  // namespace

std::unique_ptr<Transport> makeTcpTransport(const LinkAddress& address)
{
    return std::make_unique<TcpTransport>(address);
}

}  // namespace ravo
