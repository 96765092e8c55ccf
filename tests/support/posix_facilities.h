#pragma once
#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

namespace ravo::test {

// Pseudo-terminals, signals and killing a child by signal exist on POSIX
// systems only. On Windows havePosixFacilities() is false, the functions
// below fail, and the tests that need them skip with kNeedsPosix.
bool havePosixFacilities();
inline constexpr const char* kNeedsPosix = "needs a POSIX facility (pseudo-terminal or signals) Windows lacks";

// A pseudo-terminal pair: the link opens `name`, the test talks on the master.
class TestPty {
public:
    TestPty() = default;
    ~TestPty();
    TestPty(const TestPty&) = delete;
    TestPty& operator=(const TestPty&) = delete;
    bool open();
    const std::string& name() const { return name_; }
    int writeMaster(const void* data, int length);
    int readMaster(void* buffer, int size);

private:
    int master_ = -1;
    int slave_ = -1;
    std::string name_;
};

// Makes a named pipe (FIFO) at `path`.
bool makeFifo(const std::string& path);
// Sends the simulator's dump request (SIGUSR1) to `pid`.
bool sendDumpSignal(pid_t pid);
// Starts `program` with `args` in `workDir` with extra `env`, its output
// thrown away; its process id, or -1.
pid_t startInBackground(const std::string& program, const std::vector<std::string>& args,
                        const std::map<std::string, std::string>& env, const std::string& workDir);
// Kills `pid` with SIGKILL and reaps it; true when it ended by that signal.
bool killHard(pid_t pid);
// Sends Ctrl-C (SIGINT) to `pid` and reaps it: its exit code, or -1 when it
// did not exit by itself.
int interruptAndWait(pid_t pid);

// Sets an environment variable of this process (all platforms).
void setEnv(const std::string& name, const std::string& value);

}  // namespace ravo::test
