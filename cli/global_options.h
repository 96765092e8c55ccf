#pragma once
#include <memory>
#include <string>

#include "app/ravo_config_app.h"

namespace ravo::cli {

// The warning for --unit text that the unit number rules read as another
// number than the one typed ("XYZ" and "0000" become FFFF, "12345" 1234);
// empty when the number used is the one typed, and for "BL".
std::string unitNumberWarning(const std::string& typed);

// Checks a --link address as the link would build it: false, with the
// parser's reason in `error`, when it is malformed, names an unknown kind or
// simulated unit, or names a scenario file that does not read.
bool checkLinkAddress(const std::string& address, std::string& error);

// RAVO_TIME_SCALE=F runs the link's and the jobs' waits (answer waits,
// bootloader restart, reconnect) F times faster: for tests against a
// simulated unit that is expected to stay silent. RAVO_PAUSE_SCALE=F runs
// only the pauses F times faster and waits for the unit's answers as long as
// on the real line: for tests against a unit that answers, on a busy machine.
// RAVO_VIRTUAL_TIME=1 with the simulated unit in this process ("sim"): the
// link's, the jobs' and the unit's time is virtual and moves only by the
// pauses and waits they make, so they take no real time and a busy machine
// cannot make one expire. Other links ignore it.
void applyTimeScale(CRavo_ConfigApp& app);

// Starts the protocol trace of this run into `path`. Null after a message.
std::shared_ptr<LinkTrace> startTrace(CRavo_ConfigApp& app, const std::string& path);

// Ends the trace after the run: when a line could not be written (a full
// disk), says so naming the file and the reason, and returns false.
bool finishTrace(LinkTrace& trace, const std::string& path);

}  // namespace ravo::cli
