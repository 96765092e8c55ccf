#include "support/run_program.h"

#include <windows.h>

#include <string>
#include <thread>

#include "support/win_process.h"

namespace ravo::test {
namespace {

void drain(HANDLE pipe, std::string& into)
{
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0)
        into.append(buffer, got);
}

}  // namespace

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::map<std::string, std::string>& env, const std::string& workDir)
{
    std::unique_lock<std::mutex> starting(win::processStartLock());
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE outRead, outWrite, errRead, errWrite;
    if (!::CreatePipe(&outRead, &outWrite, &inherit, 0))
        return {};
    if (!::CreatePipe(&errRead, &errWrite, &inherit, 0)) {
        ::CloseHandle(outRead);
        ::CloseHandle(outWrite);
        return {};
    }
    ::SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    HANDLE nul = ::CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                               nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    PROCESS_INFORMATION info{};
    std::vector<char> environment = win::environmentBlock(env);
    DWORD startError = 0;
    const bool started = win::createProcess(program, args, environment.data(),
                                            workDir.empty() ? nullptr : workDir.c_str(), startup, info, startError);
    ::CloseHandle(outWrite);
    ::CloseHandle(errWrite);
    if (nul != INVALID_HANDLE_VALUE)
        ::CloseHandle(nul);
    starting.unlock();
    ProgramResult result;
    if (started) {
        std::string err;
        std::thread errors([&] { drain(errRead, err); });
        std::thread output([&] { drain(outRead, result.out); });
        bool ended = ::WaitForSingleObject(info.hProcess, DWORD(kProgramTimeLimitMs)) == WAIT_OBJECT_0;
        if (!ended) {
            ::TerminateProcess(info.hProcess, DWORD(-1));
            ::WaitForSingleObject(info.hProcess, INFINITE);
        }
        output.join();
        errors.join();
        result.err = err;
        if (!ended)
            result.err += "\nrunProgram: ended after " + std::to_string(kProgramTimeLimitMs / 1000) + " s\n";
        DWORD code = 0;
        result.exitCode = ended && ::GetExitCodeProcess(info.hProcess, &code) ? int(code) : -1;
        // Our programs end with codes below 256; any other code, given with
        // no word of the program's own, came from outside (the system, or
        // wine's server), and the failure says so instead of saying nothing.
        if ((result.exitCode < 0 || result.exitCode > 255) && result.out.empty() && result.err.empty())
            result.err = "runProgram: " + program + " ended with code " + std::to_string(code) + " and no output\n";
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
    } else {
        result.err = "runProgram: " + program + " could not be started (error " + std::to_string(startError) + ")\n";
    }
    ::CloseHandle(outRead);
    ::CloseHandle(errRead);
    return result;
}

}  // namespace ravo::test
