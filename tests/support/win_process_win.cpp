#include "support/win_process.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace ravo::test::win {
namespace {

std::string quoted(const std::string& arg)
{
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos)
        return arg;
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

}  // namespace

std::string commandLine(const std::string& program, const std::vector<std::string>& args)
{
    std::string line = quoted(program);
    for (const std::string& a : args) {
        line += ' ';
        line += quoted(a);
    }
    return line;
}

std::mutex& processStartLock()
{
    static std::mutex lock;
    return lock;
}

bool createProcess(const std::string& program, const std::vector<std::string>& args, char* environment,
                   const char* workDir, STARTUPINFOA& startup, PROCESS_INFORMATION& info, DWORD& error)
{
    for (int attempt = 1;; ++attempt) {
        std::string line = commandLine(program, args);
        if (::CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, environment, workDir, &startup,
                             &info)) {
            error = 0;
            return true;
        }
        error = ::GetLastError();
        if (error != ERROR_INTERNAL_ERROR || attempt == 3)
            return false;
        std::fprintf(stderr, "createProcess: %s died in its start-up (error %lu); starting it again\n",
                     program.c_str(), static_cast<unsigned long>(error));
        ::Sleep(50);
    }
}

std::vector<char> environmentBlock(const std::map<std::string, std::string>& overrides)
{
    std::map<std::string, std::string> all;
    char* block = ::GetEnvironmentStringsA();
    for (const char* p = block; p && *p; p += std::strlen(p) + 1) {
        std::string entry = p;
        size_t eq = entry.find('=', 1);  // "=C:=C:\..." entries start with '='
        if (eq != std::string::npos)
            all[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    if (block)
        ::FreeEnvironmentStringsA(block);
    for (const auto& [key, value] : overrides)
        all[key] = value;
    std::vector<char> out;
    for (const auto& [key, value] : all) {
        std::string entry = key + "=" + value;
        out.insert(out.end(), entry.begin(), entry.end());
        out.push_back('\0');
    }
    out.push_back('\0');
    return out;
}

}  // namespace ravo::test::win
