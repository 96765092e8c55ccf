#pragma once
#include <string>
#include <sys/types.h>
#include <vector>

namespace ravo::test {

// ravo-unit-sim (or any program) running in the background for a test, its
// standard input and output on pipes. Every wait is bounded; the destructor
// ends the program.
class SimProcess {
public:
    // With `mergeStderr` its standard error is read with its standard output.
    SimProcess(const std::string& program, const std::vector<std::string>& args, bool mergeStderr = false);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    bool running() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }
    // The next line of standard output, or "" after `realMs` without one.
    std::string readLine(int realMs = 5000);
    // Writes `text` and a newline to its standard input.
    void writeLine(const std::string& text);
    // Standard output until `marker` has been seen (or `realMs` passed).
    std::string readUntil(const std::string& marker, int realMs = 5000);
    // SIGTERM, then waits (bounded); the exit code, or -1.
    int stop(int realMs = 5000);

private:
    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    std::string buffered_;
};

}  // namespace ravo::test
