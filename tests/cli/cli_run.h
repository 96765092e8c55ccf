#pragma once
#include <string>
#include <vector>

#include "firmware/file_util.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace ravo::test {

// ravo-cli in a folder of its own with a store of its own; `sim` prepends
// "--link sim --unit 1234". Against the simulated unit in its process, time
// is virtual; against any other link its waits run 50 times faster.
struct CliHome {
    TempDir home;

    ProgramResult run(const std::vector<std::string>& args, std::map<std::string, std::string> env = {}) const
    {
        env.emplace("RAVO_VIRTUAL_TIME", "1");
        env.emplace("RAVO_TIME_SCALE", "50");
        return runCliIn(home, args, env);
    }
    ProgramResult sim(std::vector<std::string> args) const
    {
        args.insert(args.begin(), {"--link", "sim", "--unit", "1234"});
        return run(args);
    }
    std::string store() const { return cliStoreText(home); }
};

inline bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

}  // namespace ravo::test
