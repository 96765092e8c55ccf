#include "sim/sim_registration.h"

namespace ravo::sim {

void registerSimTransport() {}

}  // namespace ravo::sim
