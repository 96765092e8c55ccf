#pragma once
// ravo-cli started in the background for a test that acts on it while it
// runs (a signal, another run beside it). POSIX only: included by *_posix
// test files.
#include <sys/types.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "support/posix_facilities.h"
#include "tests/cli/cli_run.h"

namespace ravo::test {

// ravo-cli in `cli`'s folder and store, its standard output and error going
// to out.txt and err.txt there.
inline pid_t startCliInBackground(const CliHome& cli, const std::vector<std::string>& args)
{
    std::vector<std::string> shArgs = {"-c", "exec \"$0\" \"$@\" >out.txt 2>err.txt", RAVO_CLI_PATH};
    shArgs.insert(shArgs.end(), args.begin(), args.end());
    return startInBackground("/bin/sh", shArgs, {{"XDG_CONFIG_HOME", cli.home.path()}, {"HOME", cli.home.path()}},
                             cli.home.path());
}

// Waits (at most 30 s) until the background run has printed `text` on its
// standard output; false if it never did.
inline bool waitForOutput(const CliHome& cli, const std::string& text)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        if (readFile(cli.home.file("out.txt")).find(text) != std::string::npos)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

}  // namespace ravo::test
