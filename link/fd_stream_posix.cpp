#include "link/fd_stream.h"

#include <cerrno>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace ravo::detail {

int fdSend(int fd, const uint8_t* data, int length)
{
    int done = 0;
    while (done < length) {
        ssize_t n = ::write(fd, data + done, size_t(length - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd p{fd, POLLOUT, 0};
            if (::poll(&p, 1, 1000) <= 0)
                return done > 0 ? done : -1;
            continue;
        }
        if (n <= 0)
            return done > 0 ? done : -1;
        done += int(n);
    }
    return done;
}

int fdReceive(int fd, uint8_t* buffer, int size)
{
    if (size <= 0)
        return 0;
    for (;;) {
        ssize_t n = ::read(fd, buffer, size_t(size));
        if (n >= 0)
            return int(n);
        if (errno == EINTR)
            continue;
        return (errno == EAGAIN || errno == EWOULDBLOCK) ? 0 : -1;
    }
}

int fdAvailable(int fd)
{
    int count = 0;
    if (::ioctl(fd, FIONREAD, &count) < 0 || count < 0)
        return 0;
    return count;
}

bool fdWaitReadable(int fd, uint32_t realMs, bool& peerClosed)
{
    if (peerClosed) {
        ::poll(nullptr, 0, int(realMs));
        return false;
    }
    pollfd p{fd, POLLIN, 0};
    int r = ::poll(&p, 1, int(realMs));
    if (r <= 0)
        return false;
    if (fdAvailable(fd) > 0)
        return true;
    // Readable with nothing to read: the peer hung up. Remember it, so that the
    // caller's next waits do not spin on the closed end.
    if (p.revents & (POLLIN | POLLHUP | POLLERR))
        peerClosed = true;
    return false;
}

}  // namespace ravo::detail
