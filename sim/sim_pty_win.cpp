#include "sim/sim_pty.h"

namespace ravo::sim {

SimPty::~SimPty() = default;

std::string SimPty::open(std::string& error)
{
    error = "No pseudo-terminals on this platform; use --port";
    return {};
}

int SimPty::read(uint8_t*, int, int)
{
    return 0;
}

void SimPty::write(const std::vector<uint8_t>&) {}

}  // namespace ravo::sim
