#ifndef _WIN32
#include "link/tcp_transport.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "link/fd_stream.h"

namespace ravo {
namespace {

// How long a connection attempt may take before the peer counts as absent.
constexpr int kConnectTimeoutMs = 3000;

// The connected socket, or -1 with the reason in `error`.
int connectWithTimeout(const addrinfo* ai, std::string& error)
{
    int fd = ::socket(ai->ai_family, ai->ai_socktype | SOCK_CLOEXEC, ai->ai_protocol);
    if (fd < 0) {
        error = std::strerror(errno);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    int r = ::connect(fd, ai->ai_addr, ai->ai_addrlen);
    int reason = errno;
    if (r < 0 && errno == EINPROGRESS) {
        pollfd p{fd, POLLOUT, 0};
        int soError = 0;
        socklen_t len = sizeof soError;
        int ready = ::poll(&p, 1, kConnectTimeoutMs);
        if (ready == 1 && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &len) == 0 && soError == 0)
            r = 0;
        reason = ready == 0 ? ETIMEDOUT : soError;
    }
    if (r < 0) {
        error = std::strerror(reason);
        ::close(fd);
        return -1;
    }
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

class TcpTransport : public Transport {
public:
    explicit TcpTransport(const LinkAddress& address) : host_(address.host), port_(address.port) {}
    ~TcpTransport() override { close(); }

    int open(std::string&) override { return 0; }

    int enumerate(DeviceInfo& first, std::string& error) override
    {
        close();
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* list = nullptr;
        int found = ::getaddrinfo(host_.c_str(), std::to_string(port_).c_str(), &hints, &list);
        if (found != 0) {
            error = ::gai_strerror(found);
            return 0;
        }
        std::string reason;
        for (addrinfo* ai = list; ai && fd_ < 0; ai = ai->ai_next) {
            fd_ = connectWithTimeout(ai, reason);
            if (fd_ >= 0)
                describe(ai, first);
        }
        ::freeaddrinfo(list);
        if (fd_ < 0)
            error = reason;
        return fd_ >= 0 ? 1 : 0;
    }

    int connectFirst(std::string&) override { return fd_ >= 0 ? 0 : -6; }

    void close() override
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
        peerClosed_ = false;
    }

    int send(const uint8_t* data, int length) override
    {
        if (fd_ < 0)
            return -1;
        int done = 0;
        while (done < length) {
            ssize_t n = ::send(fd_, data + done, size_t(length - done), MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                pollfd p{fd_, POLLOUT, 0};
                if (::poll(&p, 1, 1000) <= 0)
                    break;
                continue;
            }
            if (n <= 0)
                break;
            done += int(n);
        }
        return done > 0 || length == 0 ? done : -1;
    }

    int receive(uint8_t* buffer, int size) override
    {
        return fd_ < 0 ? -1 : detail::fdReceive(fd_, buffer, size);
    }

    int available() override { return fd_ < 0 ? 0 : detail::fdAvailable(fd_); }

    bool waitReadable(uint32_t realMs) override
    {
        if (fd_ < 0) {
            ::poll(nullptr, 0, int(realMs));
            return false;
        }
        return detail::fdWaitReadable(fd_, realMs, peerClosed_);
    }

private:
    std::string peer() const { return host_ + ":" + std::to_string(port_); }

    void describe(const addrinfo* ai, DeviceInfo& first) const
    {
        first.clear();
        first.setName("tcp " + peer());
        if (ai->ai_family == AF_INET) {
            const auto* in = reinterpret_cast<const sockaddr_in*>(ai->ai_addr);
            std::memcpy(first.id, &in->sin_addr.s_addr, 4);
        }
    }

    std::string host_;
    int port_;
    int fd_ = -1;
    bool peerClosed_ = false;
};

}  // namespace

std::unique_ptr<Transport> makeTcpTransport(const LinkAddress& address)
{
    return std::make_unique<TcpTransport>(address);
}

}  // namespace ravo
#endif
