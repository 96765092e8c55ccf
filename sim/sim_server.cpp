#include "sim/sim_server.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <arpa/inet.h>

namespace ravo::sim {
namespace {

// How often an endlessly noisy unit writes its next burst.
constexpr double kNoiseStepMs = 5;

// poll() with a wait to the microsecond: a millisecond wait rounded up would
// write every answer up to a millisecond late.
int pollFor(pollfd* fds, nfds_t count, double ms)
{
    timespec wait{};
    const long long us = ms <= 0 ? 0 : (long long)(ms * 1000.0);
    wait.tv_sec = time_t(us / 1000000);
    wait.tv_nsec = long(us % 1000000) * 1000;
    return ::ppoll(fds, count, &wait, nullptr);
}

}  // namespace

SimServer::SimServer(std::shared_ptr<SimUnit> unit) : unit_(std::move(unit)) {}

SimServer::~SimServer()
{
    closeClient();
    if (listenFd_ >= 0)
        ::close(listenFd_);
    if (ptyFd_ >= 0)
        ::close(ptyFd_);
    if (ptySlaveFd_ >= 0)
        ::close(ptySlaveFd_);
}

bool SimServer::openListener(std::string& error)
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = "Cannot create a socket";
        return false;
    }
    int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(uint16_t(port_ < 0 ? 0 : port_));
    socklen_t len = sizeof addr;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 4) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        error = "Cannot listen on 127.0.0.1:" + std::to_string(port_ < 0 ? 0 : port_);
        ::close(fd);
        return false;
    }
    listenFd_ = fd;
    port_ = ntohs(addr.sin_port);
    return true;
}

int SimServer::listenTcp(int port, std::string& error)
{
    port_ = port;
    return openListener(error) ? port_ : -1;
}

std::string SimServer::openPty(std::string& error)
{
    int fd = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (fd < 0 || ::grantpt(fd) != 0 || ::unlockpt(fd) != 0) {
        error = "Cannot open a pseudo-terminal";
        if (fd >= 0)
            ::close(fd);
        return {};
    }
    std::string path = ::ptsname(fd);
    // Holding the slave open keeps the master readable across the link's
    // opens and closes; raw mode so no byte is translated.
    ptySlaveFd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (ptySlaveFd_ >= 0) {
        termios tio{};
        if (::tcgetattr(ptySlaveFd_, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(ptySlaveFd_, TCSANOW, &tio);
        }
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    ptyFd_ = fd;
    unit_->connectionOpened();
    return path;
}

void SimServer::closeClient()
{
    if (clientFd_ >= 0) {
        ::close(clientFd_);
        clientFd_ = -1;
        unit_->connectionClosed();
    }
    pending_.clear();
    dropPending_ = false;
}

void SimServer::writeAll(int fd, const std::vector<uint8_t>& bytes)
{
    size_t done = 0;
    while (fd >= 0 && done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && (errno == EINTR))
            continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd p{fd, POLLOUT, 0};
            ::poll(&p, 1, 100);
            continue;
        }
        if (n <= 0)
            return;
        done += size_t(n);
    }
}

double SimServer::flushDue()
{
    int out = clientFd_ >= 0 ? clientFd_ : ptyFd_;
    double now = unit_->clock().fineMs();
    while (!pending_.empty() && pending_.front().atMs <= now) {
        writeAll(out, pending_.front().bytes);
        pending_.pop_front();
    }
    if (out >= 0 && !dropPending_) {
        std::vector<uint8_t> noise = unit_->noiseDue();
        writeAll(out, noise);
        if (unit_->streamsNoise())
            return pending_.empty() ? kNoiseStepMs : std::min(kNoiseStepMs, pending_.front().atMs - now);
    }
    if (!pending_.empty())
        return pending_.front().atMs - now;
    if (dropPending_) {
        dropPending_ = false;
        if (clientFd_ >= 0) {
            closeClient();
        } else if (ptyFd_ >= 0) {
            unit_->connectionClosed();
            unit_->connectionOpened();
        }
    }
    return -1;
}

void SimServer::feed(const uint8_t* data, size_t n)
{
    SimReaction reaction = unit_->receive(data, n);
    for (SimDelivery& d : reaction.deliveries)
        pending_.push_back(std::move(d));
    dropPending_ = dropPending_ || reaction.dropLink;
    // A restarting unit is gone before its last answer reaches the link, so
    // the link cannot reach the port again until the unit is back.
    if (reaction.dropLink && listenFd_ >= 0 && !unit_->reachable()) {
        ::close(listenFd_);
        listenFd_ = -1;
    }
}

void SimServer::serviceTcp(double timeoutMs)
{
    bool reachable = unit_->reachable();
    std::string error;
    if (!reachable && listenFd_ >= 0) {
        ::close(listenFd_);  // the unit is away: nobody answers on its port
        listenFd_ = -1;
    } else if (reachable && listenFd_ < 0) {
        openListener(error);
    }
    pollfd fds[2];
    int count = 0;
    if (clientFd_ >= 0)
        fds[count++] = {clientFd_, POLLIN, 0};
    else if (listenFd_ >= 0)
        fds[count++] = {listenFd_, POLLIN, 0};
    if (pollFor(fds, nfds_t(count), timeoutMs) <= 0)
        return;
    if (clientFd_ < 0) {
        int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            return;
        if (!unit_->reachable()) {
            ::close(fd);
            return;
        }
        int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        clientFd_ = fd;
        unit_->connectionOpened();
        return;
    }
    uint8_t buffer[4096];
    ssize_t n = ::read(clientFd_, buffer, sizeof buffer);
    if (n <= 0) {
        if (n == 0 || (errno != EINTR && errno != EAGAIN))
            closeClient();
        return;
    }
    feed(buffer, size_t(n));
}

void SimServer::servicePty(double timeoutMs)
{
    pollfd p{ptyFd_, POLLIN, 0};
    if (pollFor(&p, 1, timeoutMs) <= 0 || !(p.revents & POLLIN)) {
        if (p.revents & (POLLHUP | POLLERR))
            pollFor(nullptr, 0, timeoutMs);
        return;
    }
    uint8_t buffer[4096];
    ssize_t n = ::read(ptyFd_, buffer, sizeof buffer);
    if (n > 0)
        feed(buffer, size_t(n));
}

void SimServer::run(const std::atomic<bool>& stop, const std::function<void()>& idle)
{
    while (!stop.load()) {
        double due = flushDue();
        double timeout = due < 0 ? 20.0 : std::min(due, 20.0);
        if (ptyFd_ >= 0)
            servicePty(timeout);
        else
            serviceTcp(timeout);
        if (idle)
            idle();
    }
}

}  // namespace ravo::sim
