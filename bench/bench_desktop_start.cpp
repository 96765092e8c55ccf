// Time from process start to the first painted main window of ravo-config
// under the offscreen platform: the median of 10 runs (target under 400 ms).
//
//   bench_desktop_start [path/to/ravo-config] [runs]
//
// Each run starts in a fresh folder with a configuration store of its own
// and without the update check; the program prints "painted" at its first
// paint and ends.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// Milliseconds until the program reported its first paint; -1 on failure.
double runOnce(const std::string& program, const fs::path& folder)
{
    int out[2];
    if (::pipe(out) != 0)
        return -1;
    const auto start = Clock::now();
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], 1);
        ::close(out[0]);
        // The toolkit's notes about the offscreen platform are not figures.
        int quiet = ::open("/dev/null", O_WRONLY);
        if (quiet >= 0)
            ::dup2(quiet, 2);
        if (::chdir(folder.c_str()) != 0)
            ::_exit(126);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
        ::execl(program.c_str(), program.c_str(), "--quit-after-paint", "--no-update-check",
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    std::string line;
    char c;
    while (::read(out[0], &c, 1) == 1 && c != '\n')
        line += c;
    const auto painted = Clock::now();
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (line != "painted")
        return -1;
    return std::chrono::duration<double, std::milli>(painted - start).count();
}

}  // namespace

int main(int argc, char** argv)
{
    const fs::path self = fs::read_symlink("/proc/self/exe");
    const std::string program = argc > 1 ? argv[1] : (self.parent_path() / "ravo-config").string();
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    const fs::path folder = fs::temp_directory_path() / ("bench_desktop_start_" + std::to_string(::getpid()));

    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        fs::remove_all(folder);
        fs::create_directories(folder);
        double ms = runOnce(program, folder);
        if (ms < 0) {
            std::fprintf(stderr, "bench_desktop_start: %s did not report its first paint\n", program.c_str());
            fs::remove_all(folder);
            return 1;
        }
        times.push_back(ms);
    }
    fs::remove_all(folder);
    std::sort(times.begin(), times.end());
    const double median = times.size() % 2 ? times[times.size() / 2]
                                           : (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
    std::printf("process start to first painted window (offscreen), %d runs:\n", runs);
    std::printf("  median %.1f ms, fastest %.1f ms, slowest %.1f ms (target < 400 ms: %s)\n", median, times.front(),
                times.back(), median < 400 ? "met" : "NOT met");
    return 0;
}
