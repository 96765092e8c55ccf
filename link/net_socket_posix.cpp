#include "link/net_socket.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace ravo::net {
namespace {

void setNonBlocking(int fd)
{
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

void setNoDelay(int fd)
{
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

// The connected socket, or -1 with the errno value that says why in `reason`.
int connectOne(const addrinfo* ai, int timeoutMs, int& reason)
{
    int fd = ::socket(ai->ai_family, ai->ai_socktype | SOCK_CLOEXEC, ai->ai_protocol);
    if (fd < 0) {
        reason = errno;
        return -1;
    }
    setNonBlocking(fd);
    int r = ::connect(fd, ai->ai_addr, ai->ai_addrlen);
    reason = errno;
    if (r < 0 && errno == EINPROGRESS) {
        pollfd p{fd, POLLOUT, 0};
        int soError = 0;
        socklen_t len = sizeof soError;
        int ready = ::poll(&p, 1, timeoutMs);
        if (ready == 1 && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &len) == 0 && soError == 0)
            r = 0;
        reason = ready == 0 ? ETIMEDOUT : soError;
    }
    if (r < 0) {
        ::close(fd);
        return -1;
    }
    setNoDelay(fd);
    return fd;
}

}  // namespace

Socket connectTcp(const std::string& host, int port, int timeoutMs, uint8_t ipv4[4], std::string* reason)
{
    std::memset(ipv4, 0, 4);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    int found = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &list);
    if (found != 0) {
        if (reason)
            *reason = ::gai_strerror(found);
        return kNoSocket;
    }
    int fd = -1;
    int why = 0;
    for (addrinfo* ai = list; ai && fd < 0; ai = ai->ai_next) {
        fd = connectOne(ai, timeoutMs, why);
        if (fd >= 0 && ai->ai_family == AF_INET)
            std::memcpy(ipv4, &reinterpret_cast<const sockaddr_in*>(ai->ai_addr)->sin_addr.s_addr, 4);
    }
    ::freeaddrinfo(list);
    if (fd < 0 && reason)
        *reason = std::strerror(why);
    return fd;
}

Socket listenLoopback(int port, int& boundPort, int backlog)
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return kNoSocket;
    int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(uint16_t(port));
    socklen_t len = sizeof addr;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, backlog) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        ::close(fd);
        return kNoSocket;
    }
    setNonBlocking(fd);
    boundPort = ntohs(addr.sin_port);
    return fd;
}

Socket acceptClient(Socket listener)
{
    if (listener < 0)
        return kNoSocket;
    int fd = ::accept4(int(listener), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0)
        return kNoSocket;
    setNoDelay(fd);
    return fd;
}

void closeSocket(Socket s)
{
    if (s >= 0)
        ::close(int(s));
}

int sendAll(Socket s, const uint8_t* data, int length)
{
    int done = 0;
    while (s >= 0 && done < length) {
        ssize_t n = ::send(int(s), data + done, size_t(length - done), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd p{int(s), POLLOUT, 0};
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

int receiveSome(Socket s, uint8_t* buffer, int size)
{
    if (s < 0)
        return -1;
    for (;;) {
        ssize_t n = ::recv(int(s), buffer, size_t(size), 0);
        if (n >= 0)
            return int(n);
        if (errno == EINTR)
            continue;
        return (errno == EAGAIN || errno == EWOULDBLOCK) ? kWouldBlock : -1;
    }
}

int available(Socket s)
{
    int count = 0;
    if (s < 0 || ::ioctl(int(s), FIONREAD, &count) < 0 || count < 0)
        return 0;
    return count;
}

int waitReadable(const Socket* sockets, int count, int timeoutMs)
{
    std::vector<pollfd> fds;
    for (int i = 0; i < count; ++i)
        fds.push_back({int(sockets[i]), POLLIN, 0});
    if (::poll(fds.data(), nfds_t(fds.size()), timeoutMs) <= 0)
        return -1;
    for (int i = 0; i < count; ++i)
        if (fds[size_t(i)].revents & (POLLIN | POLLHUP | POLLERR))
            return i;
    return -1;
}

void sleepMs(int ms)
{
    ::poll(nullptr, 0, ms);
}

}  // namespace ravo::net
