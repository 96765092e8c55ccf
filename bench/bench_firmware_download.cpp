// Time of the chunk phase of a firmware update into ravo-unit-sim over TCP,
// with the link timing of a 115200 baud IrDA link and a 5 ms unit
// turnaround, against the time the link itself needs for the same bytes and
// turnarounds (its limit). The fixed waits the protocol asks for (the
// bootloader entry and the restart after the download) are measured and
// printed beside it but not counted.
//
//   bench_firmware_download [path/to/ravo-unit-sim] [chunks] [chunk-size]
//
// The bytes of the chunk phase are fixed by the image (each chunk frame up,
// one answer byte down), so no relay stands in the way to count them; the
// limit is (bytes x 10 bits) / baud plus one turnaround per chunk. Target:
// measured / limit at most 1.10.
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

#include <vector>

#include "firmware/firmware_check.h"
#include "jobs/work_task.h"
#include "sim/sim_firmware_image.h"

namespace {

using namespace ravo;
using Steady = std::chrono::steady_clock;

constexpr int kBaud = 115200;
constexpr int kTurnaroundMs = 5;

// Notes the moments that divide the job: the first bootloader request, the
// first chunk, the last answer, the end.
class Stopwatch : public JobEvents {
public:
    void statusLine(const std::string& text) override
    {
        const char* line = text.c_str();
        if (std::strcmp(line, "Enter BL mode 1") == 0)
            entry = Steady::now();
        if (!chunksStarted && std::strncmp(line, "Download firmware ", 18) == 0) {
            chunksStarted = true;
            chunks = Steady::now();
        }
        if (std::strcmp(line, "Done..") == 0)
            done = Steady::now();
    }
    Steady::time_point entry, chunks, done;
    bool chunksStarted = false;
};

// The bytes of the chunk phase, as the protocol fixes them: each chunk frame
// (two length bytes and the chunk) up, one answer byte down.
struct ChunkBytes {
    long up = 0, down = 0, chunks = 0;
};

ChunkBytes chunkBytes(const std::vector<uint8_t>& image)
{
    ChunkBytes b;
    for (size_t offset = 0; offset + 2 <= image.size();) {
        size_t length = (size_t(image[offset]) << 8) | image[offset + 1];
        if (length > 0) {
            b.up += long(2 + (length & 0x7FFF));
            b.down += 1;
            b.chunks += 1;
        }
        offset += 2 + length;
    }
    return b;
}

struct SimProcess {
    pid_t pid = -1;
    int port = -1;
};

SimProcess startSim(const std::string& program)
{
    int out[2];
    if (::pipe(out) != 0)
        return {};
    SimProcess sim;
    sim.pid = ::fork();
    if (sim.pid == 0) {
        ::dup2(out[1], 1);
        ::close(out[0]);
        ::execl(program.c_str(), program.c_str(), "--timing", "--baud", std::to_string(kBaud).c_str(), "--turnaround",
                std::to_string(kTurnaroundMs).c_str(), "--port", "0", static_cast<char*>(nullptr));
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

double seconds(Steady::time_point from, Steady::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

}  // namespace

int main(int argc, char** argv)
{
    std::string program = (std::filesystem::canonical("/proc/self/exe").parent_path() / "ravo-unit-sim").string();
    int numbers[2] = {200, 512};
    int given = 0;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (!a.empty() && std::isdigit(static_cast<unsigned char>(a[0])) && given < 2)
            numbers[given++] = std::atoi(a.c_str());
        else
            program = a;
    }
    const int chunks = numbers[0], chunkSize = numbers[1];
    std::string image = (std::filesystem::temp_directory_path() /
                         ("bench_firmware_download_" + std::to_string(::getpid()) + ".enc"))
                            .string();
    std::string error;
    if (!sim::writeTestFirmware(image, 0x4A00, chunks, chunkSize, error)) {
        std::fprintf(stderr, "cannot write the image: %s\n", error.c_str());
        return 1;
    }
    SimProcess sim = startSim(program);
    if (sim.port <= 0) {
        std::fprintf(stderr, "cannot start %s\n", program.c_str());
        return 1;
    }
    std::vector<uint8_t> bytesOfImage;
    loadFirmwareFile(image, bytesOfImage);
    const ChunkBytes counted = chunkBytes(bytesOfImage);
    WorkTask task;
    task.setLinkAddress("tcp:127.0.0.1:" + std::to_string(sim.port));
    Stopwatch watch;
    const Steady::time_point start = Steady::now();
    task.start(FirmwareRequest{0x1234, image, FirmwareMode::Normal}, watch);
    while (!task.waitFinished(1000)) {
    }
    const Steady::time_point end = Steady::now();

    const long sent = counted.chunks;
    const bool done = task.lastOutcome().code() == 0 && watch.done > watch.chunks;
    const double measured = seconds(watch.chunks, watch.done);
    const long bytes = counted.up + counted.down;
    const double limit = double(bytes) * 10.0 / kBaud + double(sent) * kTurnaroundMs / 1000.0;
    const double ratio = limit > 0 ? measured / limit : 0.0;
    std::printf("firmware update into ravo-unit-sim, %d baud, %d ms turnaround: %d chunks of %d bytes and the closing chunk\n",
                kBaud, kTurnaroundMs, chunks, chunkSize);
    std::printf("chunk phase: %ld bytes (%ld up, %ld down), %ld turnarounds\n", bytes, counted.up, counted.down, sent);
    std::printf("  measured %.3f s, link limit %.3f s, ratio %.3f (%.2f ms a chunk above the limit)\n", measured, limit,
                ratio, (measured - limit) * 1000.0 / sent);
    std::printf("not counted: versions read %.3f s, bootloader entry %.3f s, restart after the download %.3f s; whole job %.3f s\n",
                seconds(start, watch.entry), seconds(watch.entry, watch.chunks), seconds(watch.done, end),
                seconds(start, end));
    std::printf("target: ratio at most 1.10: %s\n", !done ? "NOT met (the update failed)" : ratio <= 1.10 ? "met" : "NOT met");
    ::kill(sim.pid, SIGTERM);
    ::waitpid(sim.pid, nullptr, 0);
    std::filesystem::remove(image);
    return done ? 0 : 1;
}
