#include "jobs/recovery_source.h"

namespace ravo {

RecoverySource recoverySourceFromRedboxHeader(const uint8_t header[256])
{
    RecoverySource source;
    source.unitSerial = uint16_t(header[26] | header[27] << 8);
    if (header[25] >= 43)
        source.serviceDate = uint32_t(header[36]) | uint32_t(header[37]) << 8 | uint32_t(header[38]) << 16 |
                             uint32_t(header[39]) << 24;
    return source;
}

uint32_t firmwareVersionOf(const UnitVersions& versions)
{
    // Reply byte 9 is the main version, byte 8 the beta number.
    return uint32_t(versions.bytes[9]) << 8 | versions.bytes[8];
}

}  // namespace ravo
