#pragma once
#include <memory>

#include "link/link_address.h"

namespace ravo {

// A serial IrDA adapter (or a pseudo-terminal): raw, 8N1, no flow control.
// A missing device counts as "no device in range".
std::unique_ptr<Transport> makeSerialTransport(const LinkAddress& address);

}  // namespace ravo
