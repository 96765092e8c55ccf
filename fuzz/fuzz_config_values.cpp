// Configuration values typed by the user or read from the store: the link
// address and the unit number box.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "link/link_address.h"
#include "link/unit_number.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    uint16_t number = ravo::parseUnitNumber(text);
    if (number == 0 || ravo::formatUnitNumber(number).size() != 4)
        std::abort();
    ravo::LinkAddress address;
    std::string error;
    if (ravo::parseLinkAddress(text, address, error)) {
        if (address.scheme == "tcp" && (address.port < 1 || address.port > 65535))
            std::abort();
    } else if (error.empty()) {
        std::abort();
    }
    return 0;
}
