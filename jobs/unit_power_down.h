#pragma once

namespace ravo {

class WorkTask;

// Switches the unit off through the worker's link while no job runs: when
// the link is connected, the power-down command (its answer ignored), then the
// link closed, a stop requested and, 500 ms of the link's clock later, the
// link closed again. Returns 1 when the command was sent, 0 when the link was
// not connected and nothing was sent.
int powerDownUnit(WorkTask& worker);

}  // namespace ravo
