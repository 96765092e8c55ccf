#pragma once
#include <memory>

#include "link/transport.h"

namespace ravo {

// The Windows IrDA socket service (IrCOMM on the first device in range).
// Elsewhere the transport exists but cannot open, as on a PC without an IrDA port.
std::unique_ptr<Transport> makeIrdaTransport();

}  // namespace ravo
