#pragma once
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include <windows.h>

// Windows only: what CreateProcess needs from a program and its arguments.
namespace ravo::test::win {

// The command line for `program` and `args`, quoted as the C runtime splits it.
std::string commandLine(const std::string& program, const std::vector<std::string>& args);
// This process's environment with `overrides` set, as CreateProcess takes it.
std::vector<char> environmentBlock(const std::map<std::string, std::string>& overrides);
// Held from making a child's inheritable pipe ends until the parent has closed
// its copies: a program started meanwhile on another thread would inherit
// them too, and a pipe kept open by it never reports its end.
std::mutex& processStartLock();
// CreateProcessA with inherited handles. Under wine a new process now and then
// dies in the loader before the program's first line, and CreateProcess then
// fails with ERROR_INTERNAL_ERROR; the program never ran, so it is started
// again (up to three tries), with a line on this test's standard error. Any
// other failure, and anything after the start, is the caller's to report.
bool createProcess(const std::string& program, const std::vector<std::string>& args, char* environment,
                   const char* workDir, STARTUPINFOA& startup, PROCESS_INFORMATION& info, DWORD& error);

}  // namespace ravo::test::win
