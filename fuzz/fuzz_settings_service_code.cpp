// The enciphered service code as the update manifest carries it, and the
// code entry compared with it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/service_code.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace ravo;
    std::string input(reinterpret_cast<const char*>(data), size);
    size_t split = input.find('\n');
    std::string enciphered = input.substr(0, split);
    std::string entry = split == std::string::npos ? std::string() : input.substr(split + 1);
    decipherServiceCode(kServiceKey, enciphered);
    decipherServiceCode(entry, enciphered);
    bool unlocked = false;
    enterServiceCode(
        unlocked,
        [&entry](std::string& entered) {
            entered = entry;
            return true;
        },
        enciphered);
    return 0;
}
