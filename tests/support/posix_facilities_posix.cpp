#include "support/posix_facilities.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ravo::test {

bool havePosixFacilities()
{
    return true;
}

TestPty::~TestPty()
{
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
}

bool TestPty::open()
{
    char name[128];
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        return false;
    name_ = name;
    return true;
}

int TestPty::writeMaster(const void* data, int length)
{
    return int(::write(master_, data, size_t(length)));
}

int TestPty::readMaster(void* buffer, int size)
{
    return int(::read(master_, buffer, size_t(size)));
}

bool makeFifo(const std::string& path)
{
    return ::mkfifo(path.c_str(), 0600) == 0;
}

bool sendDumpSignal(pid_t pid)
{
    return ::kill(pid, SIGUSR1) == 0;
}

pid_t startInBackground(const std::string& program, const std::vector<std::string>& args,
                        const std::map<std::string, std::string>& env, const std::string& workDir)
{
    pid_t pid = ::fork();
    if (pid == 0) {
        for (const auto& [key, value] : env)
            ::setenv(key.c_str(), value.c_str(), 1);
        if (!workDir.empty() && ::chdir(workDir.c_str()) != 0)
            ::_exit(127);
        std::FILE* null = std::freopen("/dev/null", "w", stdout);
        (void)null;
        null = std::freopen("/dev/null", "w", stderr);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    return pid;
}

bool killHard(pid_t pid)
{
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFSIGNALED(status);
}

int interruptAndWait(pid_t pid)
{
    ::kill(pid, SIGINT);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void setEnv(const std::string& name, const std::string& value)
{
    ::setenv(name.c_str(), value.c_str(), 1);
}

}  // namespace ravo::test
