#include "support/run_program.h"

#include "support/temp_dir.h"

namespace ravo::test {

std::string cliRegistryKey(const TempDir& home)
{
    return "Software\\Varnholm\\Ravo_Config_Test\\" + home.path().substr(home.path().find_last_of("/\\") + 1);
}

ProgramResult runCliIn(const TempDir& home, const std::vector<std::string>& args,
                       std::map<std::string, std::string> env)
{
    env["XDG_CONFIG_HOME"] = home.path();
    env["HOME"] = home.path();
    // The registry store, on Windows, under a key of this folder's own.
    env["RAVO_REGISTRY_KEY"] = cliRegistryKey(home);
    return runProgram(RAVO_CLI_PATH, args, env, home.path());
}

}  // namespace ravo::test
