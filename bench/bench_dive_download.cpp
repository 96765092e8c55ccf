// Time to download one 10,000-record dive from ravo-unit-sim over TCP with the
// link timing of a 115200 baud IrDA link and a 5 ms unit turnaround, against
// the time the link itself needs for the bytes exchanged (its limit): once
// with the reply wait that ends on data, once with the plain 100 ms sleep.
//
//   bench_dive_download [path/to/ravo-unit-sim] [records] [--no-sleep-run]
//
// A relay between the worker and the simulator counts the bytes and the
// requests of the download; the limit is (bytes x 10 bits) / baud plus one
// turnaround per request. Target: measured / limit within 1.15.
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "jobs/work_task.h"
#include "link/frame_format.h"

namespace {

using namespace ravo;
using Clock = std::chrono::steady_clock;

constexpr int kBaud = 115200;
constexpr int kTurnaroundMs = 5;

int listenLocal(int& port)
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    port = ntohs(addr.sin_port);
    ::listen(fd, 4);
    return fd;
}

int connectLocal(int port)
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(uint16_t(port));
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Forwards every connection to the simulator and counts what passes.
class CountingRelay {
public:
    explicit CountingRelay(int targetPort) : target_(targetPort)
    {
        listenFd_ = listenLocal(port_);
        thread_ = std::thread([this] { serve(); });
    }
    ~CountingRelay()
    {
        stop_ = true;
        thread_.join();
        ::close(listenFd_);
    }
    int port() const { return port_; }
    void reset()
    {
        up_ = 0;
        down_ = 0;
        requests_ = 0;
    }
    long up() const { return up_; }
    long down() const { return down_; }
    long requests() const { return requests_; }

private:
    void serve()
    {
        while (!stop_) {
            pollfd p{listenFd_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0)
                continue;
            int client = ::accept(listenFd_, nullptr, nullptr);
            int unit = connectLocal(target_);
            if (unit < 0) {
                ::close(client);
                continue;
            }
            pump(client, unit);
            ::close(client);
            ::close(unit);
        }
    }
    void pump(int client, int unit)
    {
        uint8_t buffer[4096];
        while (!stop_) {
            pollfd p[2] = {{client, POLLIN, 0}, {unit, POLLIN, 0}};
            if (::poll(p, 2, 20) <= 0)
                continue;
            for (int side = 0; side < 2; ++side) {
                if (!(p[side].revents & (POLLIN | POLLHUP | POLLERR)))
                    continue;
                ssize_t n = ::read(p[side].fd, buffer, sizeof buffer);
                if (n <= 0)
                    return;
                if (side == 0) {
                    up_ += n;
                    for (ssize_t i = 0; i < n; ++i)
                        requests_ += buffer[i] == kFrameStart;
                } else {
                    down_ += n;
                }
                ::send(p[1 - side].fd, buffer, size_t(n), MSG_NOSIGNAL);
            }
        }
    }

    int target_;
    int port_ = 0;
    int listenFd_ = -1;
    std::atomic<bool> stop_{false};
    std::atomic<long> up_{0}, down_{0}, requests_{0};
    std::thread thread_;
};

// Notes when the download starts and when the log is handed over.
class Stopwatch : public JobEvents {
public:
    explicit Stopwatch(CountingRelay& relay) : relay_(relay) {}
    void statusLine(const std::string& line) override
    {
        if (line.rfind("Read dive info", 0) == 0) {
            relay_.reset();
            start = Clock::now();
        }
    }
    void logDownloaded(const CDiveLog& log) override
    {
        end = Clock::now();
        records = log.samples.size();
    }
    Clock::time_point start, end;
    size_t records = 0;

private:
    CountingRelay& relay_;
};

struct SimProcess {
    pid_t pid = -1;
    int port = -1;
};

SimProcess startSim(const std::string& program, const std::string& scenario)
{
    int out[2];
    if (::pipe(out) != 0)
        return {};
    SimProcess sim;
    sim.pid = ::fork();
    if (sim.pid == 0) {
        ::dup2(out[1], 1);
        ::close(out[0]);
        ::execl(program.c_str(), program.c_str(), "--scenario", scenario.c_str(), "--timing", "--baud",
                std::to_string(kBaud).c_str(), "--turnaround", std::to_string(kTurnaroundMs).c_str(), "--port", "0",
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    std::string line;
    char c;
    while (::read(out[0], &c, 1) == 1 && c != '\n')
        line += c;
    ::close(out[0]);
    size_t colon = line.rfind(':');
    if (line.rfind("tcp:", 0) == 0 && colon != std::string::npos)
        sim.port = std::atoi(line.c_str() + colon + 1);
    return sim;
}

struct Result {
    double seconds = 0, limit = 0;
    size_t records = 0;
    long requests = 0, bytes = 0;
};

Result download(int relayPort, CountingRelay& relay, bool wakeOnData)
{
    WorkTask task;
    task.setLinkAddress("tcp:127.0.0.1:" + std::to_string(relayPort));
    task.setWakeOnData(wakeOnData);
    Stopwatch watch(relay);
    CDiveInfo entry;
    entry.index = 0;
    task.start(LogsRequest{0x1234, LogKind::Dive, {entry}}, watch);
    while (!task.waitFinished(1000)) {
    }
    Result r;
    r.seconds = std::chrono::duration<double>(watch.end - watch.start).count();
    r.records = watch.records;
    r.requests = relay.requests();
    r.bytes = relay.up() + relay.down();
    r.limit = double(r.bytes) * 10.0 / kBaud + double(r.requests) * kTurnaroundMs / 1000.0;
    return r;
}

void print(const char* title, const Result& r)
{
    std::printf("%-28s %zu records, %ld requests, %ld bytes: measured %.3f s, link limit %.3f s, ratio %.3f\n", title,
                r.records, r.requests, r.bytes, r.seconds, r.limit, r.limit > 0 ? r.seconds / r.limit : 0.0);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string program = (std::filesystem::canonical("/proc/self/exe").parent_path() / "ravo-unit-sim").string();
    int records = 10000;
    bool sleepRun = true;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--no-sleep-run")
            sleepRun = false;
        else if (!a.empty() && std::isdigit(static_cast<unsigned char>(a[0])))
            records = std::atoi(a.c_str());
        else
            program = a;
    }
    std::string scenario = (std::filesystem::temp_directory_path() /
                            ("bench_dive_download_" + std::to_string(::getpid()) + ".json"))
                               .string();
    std::ofstream(scenario) << "{\"unitNumber\": \"1234\", \"diveLogs\": [{\"generate\": true, \"records\": "
                            << records << "}], \"redboxLogs\": []}\n";
    SimProcess sim = startSim(program, scenario);
    if (sim.port <= 0) {
        std::fprintf(stderr, "cannot start %s\n", program.c_str());
        return 1;
    }
    CountingRelay relay(sim.port);
    std::printf("dive download from ravo-unit-sim, %d baud, %d ms turnaround\n", kBaud, kTurnaroundMs);
    Result wake = download(relay.port(), relay, true);
    print("wait ends on data:", wake);
    bool ok = wake.records == size_t(records);
    if (sleepRun) {
        Result sleep = download(relay.port(), relay, false);
        print("plain 100 ms sleep:", sleep);
        ok = ok && sleep.records == size_t(records);
    }
    double ratio = wake.limit > 0 ? wake.seconds / wake.limit : 0;
    std::printf("target: within 1.15 of the link limit with the wait that ends on data: %s (%.3f)\n",
                ratio <= 1.15 ? "met" : "NOT met", ratio);
    ::kill(sim.pid, SIGTERM);
    ::waitpid(sim.pid, nullptr, 0);
    std::filesystem::remove(scenario);
    return ok ? 0 : 1;
}
