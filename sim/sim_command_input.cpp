#include "sim/sim_command_input.h"

namespace ravo::sim {

bool SimCommandInput::poll(std::vector<std::string>& lines)
{
    while (!ended_) {
        char buffer[256];
        int n = readWaiting(buffer, sizeof buffer);
        if (n < 0) {
            ended_ = true;
            if (!partial_.empty())
                lines.push_back(partial_);
            partial_.clear();
        } else if (n == 0) {
            break;
        } else {
            take(buffer, n, lines);
        }
    }
    return !ended_;
}

void SimCommandInput::take(const char* bytes, int count, std::vector<std::string>& lines)
{
    for (int i = 0; i < count; ++i) {
        char c = bytes[i];
        if (c == '\r')
            continue;
        if (c != '\n') {
            partial_ += c;
            continue;
        }
        lines.push_back(partial_);
        partial_.clear();
    }
}

}  // namespace ravo::sim
