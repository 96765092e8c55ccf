#include "divedata/dive_info.h"

#include "divedata/detail/le_bytes_p.h"

namespace ravo {

void DecodeDiveInfoReply(const uint8_t* payload, size_t length, CDiveInfo& info)
{
    info.startTime = 0;
    info.recordCount = 0;
    info.auxWord = 0;
    if (!payload)
        return;
    if (length >= 4)
        info.startTime = detail::readU32(payload);
    if (length >= 8)
        info.recordCount = detail::readU32(payload + 4);
    if (length >= 10)
        info.auxWord = detail::readU16(payload + 8);
}

}  // namespace ravo
