#pragma once
#include "cli/cli_context.h"

namespace ravo::cli {

// Connects to the unit, keeping the link open, and reads its versions, which
// tells whether the unit number answers and chooses the opcode map. False,
// after the job's line "No responce from unit. Please, check unit nr." (on
// standard error under --quiet), when it does not; the link is closed then.
bool connectAndCheckUnit(CliContext& context);

// Closes a link kept open.
void closeKeptLink(CliContext& context);

}  // namespace ravo::cli
