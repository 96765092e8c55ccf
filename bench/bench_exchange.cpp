// Median time of one command exchange against a unit on 127.0.0.1 that
// answers at once: with the reply wait that ends on data, and with the plain
// 100 ms sleep between poll cycles.
//
//   bench_exchange [exchanges-with-wake] [exchanges-with-sleep]
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "link/frame_format.h"
#include "link/ir_comm.h"

namespace {

using namespace ravo;

// Answers every request frame with an acknowledgement from unit 0x1234.
class AckPeer {
public:
    AckPeer()
    {
        listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        socklen_t len = sizeof addr;
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        ::listen(listenFd_, 1);
        thread_ = std::thread([this] { serve(); });
    }
    ~AckPeer()
    {
        stop_ = true;
        thread_.join();
        ::close(listenFd_);
    }
    int port() const { return port_; }

private:
    void serve()
    {
        const std::vector<uint8_t> ack = buildFrame(0x1234, 0, nullptr, 0);
        int fd = -1;
        bool escape = false, inFrame = false;
        while (!stop_) {
            pollfd p{fd >= 0 ? fd : listenFd_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0)
                continue;
            if (fd < 0) {
                fd = ::accept(listenFd_, nullptr, nullptr);
                continue;
            }
            uint8_t buffer[512];
            ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0)
                break;
            for (ssize_t i = 0; i < n; ++i) {
                const uint8_t b = buffer[i];
                if (!inFrame) {
                    inFrame = b == kFrameStart;
                } else if (escape) {
                    escape = false;
                } else if (b == kFrameEscape) {
                    escape = true;
                } else if (b == kFrameEnd) {
                    inFrame = false;
                    ::send(fd, ack.data(), ack.size(), MSG_NOSIGNAL);
                }
            }
        }
        if (fd >= 0)
            ::close(fd);
    }

    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

struct Figures {
    double median = 0, minimum = 0, maximum = 0;
    int failed = 0;
};

Figures measure(CIrComm& link, bool wakeOnData, int exchanges)
{
    link.wakeOnData = wakeOnData;
    std::vector<double> ms;
    Figures f;
    for (int i = 0; i < exchanges; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (link.WriteByte(UNIT_CMD_SET_METRIC, 1) != 1)
            ++f.failed;
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    f.median = ms.size() % 2 ? ms[ms.size() / 2] : (ms[ms.size() / 2 - 1] + ms[ms.size() / 2]) / 2;
    f.minimum = ms.front();
    f.maximum = ms.back();
    return f;
}

}  // namespace

int main(int argc, char** argv)
{
    const int wakeCount = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;
    const int sleepCount = argc > 2 ? std::max(1, std::atoi(argv[2])) : 30;

    AckPeer peer;
    CIrComm link;
    link.setAddress("tcp:127.0.0.1:" + std::to_string(peer.port()));
    if (link.Open() != 0 || link.Connect() != 0) {
        std::fprintf(stderr, "cannot reach the peer: %s\n", link.lastError.str().c_str());
        return 1;
    }
    link.unitNumber = 0x1234;

    const Figures wake = measure(link, true, wakeCount);
    const Figures sleep = measure(link, false, sleepCount);
    std::printf("exchange against 127.0.0.1, reply at once\n");
    std::printf("wait ends on data : %4d exchanges, median %8.3f ms (min %.3f, max %.3f), failed %d\n", wakeCount,
                wake.median, wake.minimum, wake.maximum, wake.failed);
    std::printf("plain 100 ms sleep: %4d exchanges, median %8.3f ms (min %.3f, max %.3f), failed %d\n", sleepCount,
                sleep.median, sleep.minimum, sleep.maximum, sleep.failed);
    std::printf("target: median under 5 ms with the wait that ends on data: %s\n",
                wake.median < 5.0 ? "met" : "NOT met");
    link.Close();
    return wake.failed || sleep.failed ? 1 : 0;
}
