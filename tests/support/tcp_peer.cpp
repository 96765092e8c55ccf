#include "support/tcp_peer.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

namespace ravo::test {
namespace {

int bindLoopback(int& port)
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    port = ntohs(addr.sin_port);
    return fd;
}

}  // namespace

int listenOnLoopback(int& port, int backlog)
{
    int fd = bindLoopback(port);
    ::listen(fd, backlog);
    return fd;
}

TcpPeer::TcpPeer()
{
    listenFd_ = listenOnLoopback(port_);
    thread_ = std::thread([this] { serve(); });
}

TcpPeer::~TcpPeer()
{
    stop_ = true;
    thread_.join();
    ::close(listenFd_);
}

void TcpPeer::serve()
{
    std::vector<pollfd> fds{{listenFd_, POLLIN, 0}};
    while (!stop_) {
        if (::poll(fds.data(), fds.size(), 20) <= 0)
            continue;
        for (size_t i = 0; i < fds.size(); ++i) {
            if (!(fds[i].revents & POLLIN))
                continue;
            if (i == 0) {
                int fd = ::accept(listenFd_, nullptr, nullptr);
                if (fd >= 0) {
                    fds.push_back({fd, POLLIN, 0});
                    ++accepted_;
                }
            } else {
                char buffer[256];
                if (::read(fds[i].fd, buffer, sizeof buffer) <= 0)
                    fds[i].events = 0;
            }
        }
    }
    for (size_t i = 1; i < fds.size(); ++i)
        ::close(fds[i].fd);
}

int unusedPort()
{
    int port = 0;
    int fd = bindLoopback(port);
    ::close(fd);
    return port;
}

}  // namespace ravo::test
