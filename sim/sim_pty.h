#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ravo::sim {

// The pseudo-terminal the simulated unit can be served on (POSIX only; on
// Windows opening fails with a reason).
class SimPty {
public:
    SimPty() = default;
    ~SimPty();
    SimPty(const SimPty&) = delete;
    SimPty& operator=(const SimPty&) = delete;

    // Opens it in raw mode; its device path, or "" with `error`.
    std::string open(std::string& error);
    bool isOpen() const { return fd_ >= 0; }
    // Waits up to `timeoutMs` for bytes and reads them: the count, 0 for none.
    int read(uint8_t* buffer, int size, int timeoutMs);
    void write(const std::vector<uint8_t>& bytes);

private:
    int fd_ = -1;
    int slaveFd_ = -1;
};

}  // namespace ravo::sim
