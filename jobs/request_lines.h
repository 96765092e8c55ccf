#pragma once
#include <cstdint>
#include <string>

namespace ravo {

// The status line and application-log line the requester writes for a unit
// request, before it starts (or refuses) the job.
struct RequestLines {
    std::string status;
    std::string log;
};

// The firmware download request of mode `downloadMode` (JOB_FIRMWARE,
// JOB_FIRMWARE_BL or JOB_FIRMWARE_FORCE) for `unit` and the file `path`.
// Another mode gives the normal download's lines.
RequestLines firmwareRequestLines(int downloadMode, uint16_t unit, const std::string& path);

// The "Fix FFFF" request: `start` is true only for unit 0xFFFF; otherwise the
// lines tell the user to enter FFFF and no job is started.
struct FixSerialLines {
    bool start = false;
    RequestLines lines;
};
FixSerialLines fixSerialLines(uint16_t unit);

}  // namespace ravo
