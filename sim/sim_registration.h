#pragma once

namespace ravo::sim {

// Makes the link address "sim[:PRESET]" reach the simulated unit in this
// process. Idempotent.
void registerSimTransport();

}  // namespace ravo::sim
