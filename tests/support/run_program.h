#pragma once
#include <map>
#include <string>
#include <vector>

namespace ravo::test {

struct ProgramResult {
    int exitCode = -1;  // -1 also when it was ended for running too long
    std::string out;
    std::string err;
};

// How long a program run by a test may take before it is ended as hung.
inline constexpr int kProgramTimeLimitMs = 60000;

// Runs `program` with `args` and extra environment variables, in `workDir`
// (the current folder when empty), and collects its output. A program still
// running after kProgramTimeLimitMs is ended, and its standard error says so.
ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::map<std::string, std::string>& env = {}, const std::string& workDir = {});

class TempDir;

// ravo-cli run in folder `home`, with its configuration store there too, so a
// test never touches the user's store; `env` adds variables.
ProgramResult runCliIn(const TempDir& home, const std::vector<std::string>& args,
                       std::map<std::string, std::string> env = {});

// The store runCliIn gives ravo-cli: on Windows the registry key (under
// HKEY_CURRENT_USER) of `home`; elsewhere an INI file in `home`.
std::string cliRegistryKey(const TempDir& home);
// Where ravo-cli says its store lives: the INI file, or the registry key
// under HKEY_CURRENT_USER.
std::string cliStoreLocation(const TempDir& home);
// Every stored entry as "ENTRY=value" lines (integers in decimal).
std::string cliStoreText(const TempDir& home);
// Puts an entry into that store before the program runs.
void presetCliStore(const TempDir& home, const std::string& section, const std::string& entry,
                    const std::string& value);

}  // namespace ravo::test
