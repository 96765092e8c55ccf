#pragma once
#include <string>
#include <sys/types.h>
#include <vector>

namespace ravo::test {

// ravo-unit-sim serving one unit over TCP, started for one test and ended by
// "quit" on its standard input (or SIGTERM to its own process id).
class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& args);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // "tcp:127.0.0.1:PORT", empty when the simulator did not start.
    const std::string& address() const { return address_; }
    // Ends the simulator and waits for it; its --dump-state file is then complete.
    void stop();

private:
    pid_t pid_ = -1;
    int stdinFd_ = -1;
    std::string address_;
};

}  // namespace ravo::test
