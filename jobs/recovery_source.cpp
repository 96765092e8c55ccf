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

}  // namespace ravo
