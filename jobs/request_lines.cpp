#include "jobs/request_lines.h"

#include "jobs/job_codes.h"
#include "link/c_format.h"

namespace ravo {
namespace {

// formatC into a text; a named function keeps the buffer overload of formatC
// out of the choice when the first argument after the format is a number.
std::string text(const char* format, unsigned unit, const char* path)
{
    return formatC(format, unit, path);
}

}  // namespace

RequestLines firmwareRequestLines(int downloadMode, uint16_t unit, const std::string& path)
{
    const char* p = path.c_str();
    switch (downloadMode) {
    case JOB_FIRMWARE_BL:
        return {formatC("Firmware download BL [%s]", p), text("Firmware download BL %04X : %s", unit, p)};
    case JOB_FIRMWARE_FORCE:
        return {formatC("Firmware download FORCE [%s]", p),
                text("Firmware download FORCE %04X : %s", unit, p)};
    default:
        return {formatC("Firmware download [%s]", p), text("Firmware download %04X : %s", unit, p)};
    }
}

FixSerialLines fixSerialLines(uint16_t unit)
{
    if (unit == 0xFFFF)
        return {true, {"Try to fix lost serial number", formatC("UNIT_CMD_FIX_LOST_SR %04X", unsigned(unit))}};
    return {false,
            {"Please enter FFFF in serial number field",
             formatC("UNIT_CMD_FIX_LOST_SR %04X - error, serial number is not FFFF", unsigned(unit))}};
}

}  // namespace ravo
