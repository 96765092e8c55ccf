#pragma once
#include <memory>

#include "link/link_address.h"

namespace ravo {

// A TCP peer: the simulator's server or a bridge in front of an IrDA port.
// A refused or unreachable peer counts as "no device in range".
std::unique_ptr<Transport> makeTcpTransport(const LinkAddress& address);

}  // namespace ravo
