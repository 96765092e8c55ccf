#include "link/transport.h"

#include <cstring>

namespace ravo {

void DeviceInfo::setName(const std::string& text)
{
    std::memset(name, 0, sizeof name);
    std::memcpy(name, text.data(), std::min(text.size(), sizeof name));
}

}  // namespace ravo
