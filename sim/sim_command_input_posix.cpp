#include "sim/sim_command_input.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace ravo::sim {

int SimCommandInput::readWaiting(char* buffer, int size)
{
    pollfd p{STDIN_FILENO, POLLIN, 0};
    int ready = ::poll(&p, 1, 0);
    if (ready < 0)
        return errno == EINTR ? 0 : -1;
    if (ready == 0)
        return 0;
    if (p.revents & POLLNVAL)
        return -1;  // no standard input at all
    ssize_t n = ::read(STDIN_FILENO, buffer, size_t(size));
    if (n < 0)
        return errno == EINTR || errno == EAGAIN ? 0 : -1;
    return n == 0 ? -1 : int(n);
}

}  // namespace ravo::sim
