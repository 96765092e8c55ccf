#include "sim/sim_pty.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace ravo::sim {

SimPty::~SimPty()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (slaveFd_ >= 0)
        ::close(slaveFd_);
}

std::string SimPty::open(std::string& error)
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
    slaveFd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slaveFd_ >= 0) {
        termios tio{};
        if (::tcgetattr(slaveFd_, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(slaveFd_, TCSANOW, &tio);
        }
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    fd_ = fd;
    return path;
}

int SimPty::read(uint8_t* buffer, int size, int timeoutMs)
{
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0 || !(p.revents & POLLIN)) {
        if (p.revents & (POLLHUP | POLLERR))
            ::poll(nullptr, 0, timeoutMs);
        return 0;
    }
    ssize_t n = ::read(fd_, buffer, size_t(size));
    return n > 0 ? int(n) : 0;
}

void SimPty::write(const std::vector<uint8_t>& bytes)
{
    size_t done = 0;
    while (fd_ >= 0 && done < bytes.size()) {
        ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && (errno == EINTR))
            continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd p{fd_, POLLOUT, 0};
            ::poll(&p, 1, 100);
            continue;
        }
        if (n <= 0)
            return;
        done += size_t(n);
    }
}

}  // namespace ravo::sim
