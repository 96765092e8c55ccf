#include "support/sim_process.h"

#include <chrono>

namespace ravo::test {

std::string SimProcess::readUntil(const std::string& marker, int realMs)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(realMs);
    while (buffered_.find(marker) == std::string::npos && out_ >= 0) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        char chunk[4096];
        int n = readChunk(chunk, sizeof chunk, int(left.count()));
        if (n < 0)
            break;
        buffered_.append(chunk, size_t(n));
    }
    size_t at = buffered_.find(marker);
    size_t end = at == std::string::npos ? buffered_.size() : at + marker.size();
    std::string out = buffered_.substr(0, end);
    buffered_.erase(0, end);
    return out;
}

std::string SimProcess::readLine(int realMs)
{
    std::string line = readUntil("\n", realMs);
    if (line.empty() || line.back() != '\n') {
        buffered_ = line + buffered_;
        return {};
    }
    line.pop_back();
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

}  // namespace ravo::test
