#pragma once
#include <map>
#include <mutex>
#include <string>
#include <vector>

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

}  // namespace ravo::test::win
