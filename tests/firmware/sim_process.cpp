#include "sim_process.h"

#include <csignal>
#include <cstdio>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace ravo::test {

SimProcess::SimProcess(const std::vector<std::string>& args)
{
    int in[2], out[2];
    if (::pipe(in) != 0 || ::pipe(out) != 0)
        return;
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(in[0], STDIN_FILENO);
        ::dup2(out[1], STDOUT_FILENO);
        ::close(in[1]);
        ::close(out[0]);
        std::vector<char*> argv;
        std::string program = RAVO_SIM_PATH;
        argv.push_back(program.data());
        std::vector<std::string> copies = args;
        for (std::string& arg : copies)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    stdinFd_ = in[1];
    // The first line of its output is the link address.
    std::string line;
    char c;
    for (;;) {
        pollfd p{out[0], POLLIN, 0};
        if (::poll(&p, 1, 10000) <= 0 || ::read(out[0], &c, 1) != 1 || c == '\n')
            break;
        line += c;
    }
    ::close(out[0]);
    if (line.rfind("tcp:", 0) == 0)
        address_ = line;
}

void SimProcess::stop()
{
    if (pid_ <= 0)
        return;
    if (stdinFd_ >= 0) {
        (void)!::write(stdinFd_, "quit\n", 5);
        ::close(stdinFd_);
        stdinFd_ = -1;
    }
    int status = 0;
    for (int i = 0; i < 500; ++i) {
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
}

SimProcess::~SimProcess()
{
    stop();
}

}  // namespace ravo::test
