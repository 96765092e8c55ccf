#include "support/sim_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ravo::test {

SimProcess::SimProcess(const std::string& program, const std::vector<std::string>& args, bool mergeStderr)
{
    int toChild[2], fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0)
        return;
    if (::pipe2(fromChild, O_CLOEXEC) != 0) {
        ::close(toChild[0]);
        ::close(toChild[1]);
        return;
    }
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(toChild[0], STDIN_FILENO);
        ::dup2(fromChild[1], STDOUT_FILENO);
        if (mergeStderr)
            ::dup2(fromChild[1], STDERR_FILENO);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    in_ = toChild[1];
    out_ = fromChild[0];
    pid_ = pid;
}

SimProcess::~SimProcess()
{
    stop(2000);
    closePipes();
}

void SimProcess::closePipes()
{
    if (in_ >= 0)
        ::close(int(in_));
    if (out_ >= 0)
        ::close(int(out_));
    in_ = out_ = -1;
}

int SimProcess::readChunk(char* buffer, int size, int realMs)
{
    pollfd p{int(out_), POLLIN, 0};
    if (::poll(&p, 1, realMs) <= 0)
        return 0;
    ssize_t n = ::read(int(out_), buffer, size_t(size));
    return n > 0 ? int(n) : -1;
}

void SimProcess::writeLine(const std::string& text)
{
    std::string line = text + "\n";
    if (in_ >= 0 && ::write(int(in_), line.data(), line.size()) < 0) {
        // the program is gone; the test sees that in its replies
    }
}

int SimProcess::stop(int realMs)
{
    if (pid_ <= 0)
        return -1;
    ::kill(pid_, SIGTERM);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(realMs);
    int status = 0;
    for (;;) {
        pid_t r = ::waitpid(pid_, &status, WNOHANG);
        if (r == pid_)
            break;
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            pid_ = -1;
            return -1;
        }
        ::usleep(5000);
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace ravo::test
