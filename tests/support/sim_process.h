#pragma once
#include <cstdint>
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
    // The next line of standard output (without its line end, LF or CR LF),
    // or "" after `realMs` without one.
    std::string readLine(int realMs = 5000);
    // Writes `text` and a newline to its standard input.
    void writeLine(const std::string& text);
    // Standard output until `marker` has been seen (or `realMs` passed).
    std::string readUntil(const std::string& marker, int realMs = 5000);
    // Asks it to end (SIGTERM; "quit" on its standard input on Windows), then
    // waits (bounded); the exit code, or -1.
    int stop(int realMs = 5000);

private:
    // Waits up to `realMs` for output and reads it: the count, 0 when none
    // came, -1 when the output is closed.
    int readChunk(char* buffer, int size, int realMs);
    void closePipes();

    pid_t pid_ = -1;
    intptr_t process_ = 0;  // the process handle, on Windows
    intptr_t in_ = -1;
    intptr_t out_ = -1;
    std::string buffered_;
};

}  // namespace ravo::test
