#include "support/sim_process.h"

#include <windows.h>

#include <chrono>
#include <thread>

#include "support/win_process.h"

namespace ravo::test {
namespace {

HANDLE handleOf(intptr_t h)
{
    return reinterpret_cast<HANDLE>(h);
}

}  // namespace

SimProcess::SimProcess(const std::string& program, const std::vector<std::string>& args, bool mergeStderr)
{
    std::lock_guard<std::mutex> starting(win::processStartLock());
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE inRead, inWrite, outRead, outWrite;
    if (!::CreatePipe(&inRead, &inWrite, &inherit, 0))
        return;
    if (!::CreatePipe(&outRead, &outWrite, &inherit, 0)) {
        ::CloseHandle(inRead);
        ::CloseHandle(inWrite);
        return;
    }
    ::SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inRead;
    startup.hStdOutput = outWrite;
    startup.hStdError = mergeStderr ? outWrite : ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info{};
    DWORD startError = 0;
    const bool started = win::createProcess(program, args, nullptr, nullptr, startup, info, startError);
    ::CloseHandle(inRead);
    ::CloseHandle(outWrite);
    in_ = reinterpret_cast<intptr_t>(inWrite);
    out_ = reinterpret_cast<intptr_t>(outRead);
    if (!started)
        return;
    ::CloseHandle(info.hThread);
    process_ = reinterpret_cast<intptr_t>(info.hProcess);
    pid_ = pid_t(info.dwProcessId);
}

SimProcess::~SimProcess()
{
    stop(2000);
    closePipes();
}

void SimProcess::closePipes()
{
    if (in_ >= 0)
        ::CloseHandle(handleOf(in_));
    if (out_ >= 0)
        ::CloseHandle(handleOf(out_));
    in_ = out_ = -1;
}

int SimProcess::readChunk(char* buffer, int size, int realMs)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(realMs);
    for (;;) {
        DWORD waiting = 0;
        if (!::PeekNamedPipe(handleOf(out_), nullptr, 0, nullptr, &waiting, nullptr))
            return -1;  // the program closed its output
        if (waiting > 0) {
            DWORD got = 0;
            if (!::ReadFile(handleOf(out_), buffer, DWORD(size) < waiting ? DWORD(size) : waiting, &got, nullptr))
                return -1;
            return int(got);
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void SimProcess::writeLine(const std::string& text)
{
    std::string line = text + "\n";
    DWORD written = 0;
    if (in_ >= 0)
        ::WriteFile(handleOf(in_), line.data(), DWORD(line.size()), &written, nullptr);
}

int SimProcess::stop(int realMs)
{
    if (pid_ <= 0)
        return -1;
    // No SIGTERM here: the simulator's "quit" command ends it the same way.
    writeLine("quit");
    DWORD code = DWORD(-1);
    HANDLE process = handleOf(process_);
    if (::WaitForSingleObject(process, DWORD(realMs)) != WAIT_OBJECT_0) {
        ::TerminateProcess(process, DWORD(-1));
        ::WaitForSingleObject(process, INFINITE);
        code = DWORD(-1);
    } else if (!::GetExitCodeProcess(process, &code)) {
        code = DWORD(-1);
    }
    ::CloseHandle(process);
    process_ = 0;
    pid_ = -1;
    return int(code);
}

}  // namespace ravo::test
