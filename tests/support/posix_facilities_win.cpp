#include "support/posix_facilities.h"

#include <cstdlib>

namespace ravo::test {

bool havePosixFacilities()
{
    return false;
}

TestPty::~TestPty() = default;

bool TestPty::open()
{
    return false;
}

int TestPty::writeMaster(const void*, int)
{
    return -1;
}

int TestPty::readMaster(void*, int)
{
    return -1;
}

bool makeFifo(const std::string&)
{
    return false;
}

bool sendDumpSignal(pid_t)
{
    return false;
}

pid_t startInBackground(const std::string&, const std::vector<std::string>&, const std::map<std::string, std::string>&,
                        const std::string&)
{
    return -1;
}

bool killHard(pid_t)
{
    return false;
}

int interruptAndWait(pid_t)
{
    return -1;
}

void setEnv(const std::string& name, const std::string& value)
{
    _putenv_s(name.c_str(), value.c_str());
}

}  // namespace ravo::test
